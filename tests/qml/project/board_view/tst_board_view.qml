import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The board view's editing in the real program: the creation rules of
// marks (ids never shared, a mark on top of another dropped, the 51st
// refused), selection by band, Ctrl+arrow moves, Escape, repeated Insert,
// the board ban of a panel and the move of the head camera to a point. The rules themselves
// are the library's (tst_boardView_lib.qml); here they reach the view. The
// machine link is detached. Every case starts from an empty project.
TestCase {
    id: testCase
    name: "BoardView"
    when: windowShown

    property string dir: probe.tempPath()
    property string base: dir + "/base"
    property var area: root.area

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function element(x, y, angle, designator) {
        return call(area, "createElement", [Rig.packageIndex("0603"), "10k", "B", 0, x, y, angle, 0, designator, -1, -1, ""])
    }
    function designators(list) { return list.map(function(o) { return o.designator !== undefined ? o.designator : "#" + o.refId }) }

    function initTestCase() {
        verify(Rig.loadPackages(base, { "0603(A1.6B0.8H0.45).png": [16, 8] }))
        verify(probe.detachMachineLink())
        root.workAreaX1 = 0
        root.workAreaY1 = 0
        root.workAreaX2 = 400
        root.workAreaY2 = 300
        root.boardX1 = 0
        root.boardY1 = 100
        root.boardMaxWidth = 200
        root.boardMaxHeight = 200
        root.camera1XShift = 10
        root.camera1YShift = -5
    }
    function init() {
        call(root.projectActions, "clearProject")
        call(area, "tryChangeAction", [0])
        probe.setValue(root, "areaScale", 1)
        root.pcbMulti = false
        probe.setValue(root.machineState, "machineHomed2", false)
        root.errorListModel.clear()
    }
    function cleanupTestCase() {
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    function test_markIds() {
        root.errorListModel.clear()
        var a = call(area, "setRefPoint", [10, 10, 0])
        compare(a.refId, 101)
        // A given id that a mark already has takes the next free one.
        var b = call(area, "setRefPointFull", [30, 10, 0, false, 0, 1, 1, false, 50, 80, 150, 100, "", 101])
        compare(b.refId, 102)
        compare(root.pcbRefPointMaxId, 102)
        // A mark on top of another is dropped.
        compare(call(area, "setRefPoint", [10.3, 9.8, 0]), null)
        compare(root.refCount, 2)
        compare(Rig.errorList(), ["Реперный знак в точке X: 10.30 Y: 9.80 совпадает с реперным знаком 101 и не добавлен"])
    }

    function test_fiftyMarks() {
        for (var i = root.refCount; i < 50; ++i)
            verify(call(area, "setRefPoint", [100 + 3 * i, 150, 0]) !== null)
        compare(root.refCount, 50)
        compare(call(area, "setRefPoint", [5, 250, 0]), null)
        compare(Rig.lastLog(), "Ошибка: Проект не может содержать более 50-и реперных знаков.")
    }

    function test_bandSelection() {
        element(10, 10, 0, "A")          // extent 10..11.6 x 10..10.8
        element(20, 10, 0, "B")
        element(30, 30, 90, "C")         // turned: 30.4..31.2 x 29.6..31.2
        call(area, "setRefPoint", [40, 40, 0])      // 39.5..40.5
        call(area, "setDot", ["U", 1, 60, 60, 0])
        area.currAction = 2                          // SelectElements
        probe.setValue(root, "areaScale", 1)
        // The band ends exactly on the mark's left edge.
        compare(call(area, "selectInBand", [25, 25, 39.5, 45]), 2)
        compare(designators(probe.value(area, "selectedElementList")), ["C", "#101"])
        compare(area.selectedRefCount, 1)
        // Escape in the selection action deselects, a second one leaves it.
        call(area, "escapePressed")
        compare(area.selectedElementCount, 0)
        compare(area.currAction, 2)
        call(area, "escapePressed")
        compare(area.currAction, 0)
    }

    function test_keyMovesAndRotation() {
        element(10, 10, 0, "A")
        area.currAction = 2
        call(area, "selectInBand", [0, 0, 11.6, 11])
        verify(call(area, "moveSelected", ["up"]))
        var a = probe.value(area, "selectedElementList")[0]
        compare([a.rX, a.rY], [10, 9.975])
        call(area, "escapePressed")
    }

    function test_insertTwiceAtOnePlace() {
        root.feederEnabledB = true
        root.feederCountB = 1
        call(root.feedersInvoker, "changeCount", ["B"])
        var f = call(root, "getFeeder", ["B", 0])
        f.pack = "0603"
        f.partNumber = "10k"
        verify(call(root.feedersInvoker, "changeOne", ["B", 0, Rig.packageIndex("0603"), f]))
        area.currAction = 1                                  // MoveElements
        call(area, "setLastFeeder", ["B", 0, false])
        probe.setValue(area, "lastRotation", 90)
        var before = root.elementCount
        var el = call(area, "insertAt", [150, 50])
        verify(el !== null)
        compare(el.rX, 149.2)                                // centred on the mouse
        compare(el.rY, 49.6)
        compare(el.rot, 90)
        // The same mouse position again adds nothing.
        compare(call(area, "insertAt", [150, 50]), null)
        compare(root.elementCount, before + 1)
        area.currAction = 0
    }

    function test_boardBan() {
        element(10, 100, 0, "P")                             // extent 10..11.6 x 100..100.8
        element(20, 110, 0, "Q")                             // to 21.6 x 110.8
        root.pcbMulti = true
        root.pcbMultiNonstandart = false
        root.pcbMultiCountX = 3
        root.pcbMultiCountY = 2
        root.pcbMultiSpacingX = 30
        root.pcbMultiSpacingY = 20
        call(area, "tryChangeAction", [7])                   // PcbMultiBan
        // Board 5 (index 4): second row (rows go up by the spacing), second column.
        // (the cells and the toggle: tst_boardView_lib.qml, test_banCell, test_toggleBan)
        compare(call(area, "banClick", [45, 85]), { "row": 1, "col": 1 })
        verify(probe.value(root, "pcbMultiBan2D")[1][1] === true)
        call(area, "banClick", [45, 85])
        compare(call(area, "banClick", [200, 200]), null)
        compare(probe.value(area, "outlines").length, 6)
        root.pcbMulti = false
        call(area, "tryChangeAction", [0])
    }

    function test_cameraToPoint() {
        verify(!call(area, "cameraMenuAllowed"))             // not calibrated
        Rig.calibrate()
        verify(call(area, "cameraMenuAllowed"))
        // Design (50, 60) is machine (50, 240); minus the camera offset (10, -5).
        var p = call(area, "cameraPointFor", [50, 60])
        compare(p, { "x": 40, "y": 245 })
        var sent = probe.machineLinkTexts().length
        verify(call(area, "moveCameraTo", [p]))
        tryVerify(function() { return root.gCodeDone && !call(root, "activityRunning", ["cameraToPoint"]) }, 2000)
        var texts = probe.machineLinkTexts().slice(sent)
        compare(texts, ["g0 zMax\nG0 X40.000 Y245.000\ng0 zMax\n"])
        verify(root.findToolWindow("camera1Window").visible)
        root.findToolWindow("camera1Window").close()
    }
}
