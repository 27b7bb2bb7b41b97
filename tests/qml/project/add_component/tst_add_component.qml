import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// Adding a component at a point of the board view in the real program: a
// double-click inside the work area opens the add-component window with the
// machine point; "Добавить" creates the component from the chosen feeder,
// centred on the point; bad input is refused with a message and creates
// nothing; a double-click outside the work area, or in another action of the
// view, opens nothing.
//
// Work area: machine X 10..210, Y 120..320, drawn at 1 pixel per mm from the
// view's corner. Bank B holds two feeders: number 2 carries the package
// 0603 (1.6 x 0.8 mm) and the part "10k", number 1 no package.
TestCase {
    id: testCase
    name: "AddComponent"
    when: windowShown

    property string base: probe.tempPath() + "/base"
    property var area: root.area
    property var win: root.addNewElement

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function item(name) {
        var found = probe.find(win, name)
        verify(found !== null, "no item " + name)
        return found
    }
    function lastElement() {
        var list = probe.value(root, "elementList")
        return list[list.length - 1]
    }
    // A double-click at the design point (x, y) mm of the view.
    function doubleClickAt(x, y) {
        call(area, "scrollTo", [0, 0])
        mouseDoubleClickSequence(area, x * root.areaScale, y * root.areaScale)
    }

    function initTestCase() {
        verify(Rig.loadPackages(base, { "0603(A1.6B0.8H0.45).png": [16, 8] }))
        verify(Rig.packageIndex("0603") >= 0)
        root.workAreaX1 = 10
        root.workAreaX2 = 210
        root.workAreaY1 = 120
        root.workAreaY2 = 320
        root.areaScale = 1
        root.feederEnabledB = true
        root.feederEnabledU = true
        root.feederEnabledL = false
        root.feederEnabledR = false
        root.feederCountB = 2
        call(root.feedersInvoker, "changeCount", ["B"])
        root.feederCountU = 0
        call(root.feedersInvoker, "changeCount", ["U"])
        var f = call(root, "getFeeder", ["B", 1])
        f.pack = "0603"
        f.partNumber = "10k"
        verify(call(root.feedersInvoker, "changeOne", ["B", 1, Rig.packageIndex("0603"), f]))
        call(root.projectActions, "clearProject")
        // The view is wider than the work area drawn at this scale.
        verify(area.width > 320 && area.height > 250, "view " + area.width + " x " + area.height)
    }
    // Every case starts with the window closed, no action and no feeder
    // or rotation remembered from an earlier component.
    function init() {
        win.close()
        area.currAction = 0                                      // Nothing
        probe.setValue(area, "lastFeeder", null)
        probe.setValue(area, "lastRotation", 0)
    }

    function test_addCreatesTheComponentFromItsFeeder() {
        area.currAction = 1                                      // MoveElements
        doubleClickAt(150, 50)
        verify(win.visible)
        item("feederNumber").value = 2
        item("designator").text = "R7"
        item("angle").text = "90"
        var before = root.elementCount
        mouseClick(item("addButton"))
        compare(root.elementCount, before + 1)
        var el = lastElement()
        compare([el.model, el.index, el.pack, el.partNumber, el.designator, el.rot],
                ["B", 1, "0603", "10k", "R7", 90])
        // Centred on the point: corner = (160 - 10 - 0.8, 320 - 270 - 0.4).
        fuzzyCompare(el.rX, 149.2, 1e-9)
        fuzzyCompare(el.rY, 49.6, 1e-9)
        verify(!win.visible)
        // Insert repeats it from now on.
        compare(probe.value(area, "lastFeeder"), { "model": "B", "index": 1, "dispenser": false })
        compare(area.lastRotation, 90)
    }

    // Which input is refused is tst_addComponent_lib.qml's (test_componentAt);
    // here a typed field and the chosen feeder reach it, and the refusal
    // shows its message and creates nothing.
    function test_refused_data() {
        return [
            { tag: "point typed outside the work area", field: "pointX", text: "210.5",
              message: "Точка лежит вне рабочей области станка" },
            { tag: "feeder without a package", field: "feederNumber", number: 1,
              message: "В питателе не задан корпус компонента" },
        ]
    }
    function test_refused(data) {
        doubleClickAt(150, 50)
        verify(win.visible)
        item("feederNumber").value = 2
        if (data.number !== undefined)
            item(data.field).value = data.number
        else
            item(data.field).text = data.text
        var before = root.elementCount
        mouseClick(item("addButton"))
        compare(item("message").text, data.message)
        compare(root.elementCount, before)
        verify(win.visible)
    }

    // Where and when a point may be added: tst_boardView_lib.qml.
    function test_opensNothing_data() {
        return [
            { tag: "right of the work area", x: 300, y: 50, action: 0 },
            { tag: "in the selection action", x: 150, y: 50, action: 2 },
        ]
    }
    function test_opensNothing(data) {
        call(area, "tryChangeAction", [data.action])
        var before = root.elementCount
        doubleClickAt(data.x, data.y)
        verify(!win.visible)
        compare(root.elementCount, before)
        call(area, "tryChangeAction", [0])
    }
}
