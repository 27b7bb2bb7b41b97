import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// The placement check window in the real program: its refusals, the table
// of the first board, the approach blocks sent for each row (by hand, with
// the arrows, as a slide show), the correction arrows and their limit, the
// operator's stop with the ending G-code, the accuracy test with no row
// recognised, hiding the window forgetting the found marks, and the stored
// forms of the inspection opacities. The machine link is detached: every
// block is recorded and answered as done (at once, or when the test says).
// Every case builds its own project and table.
TestCase {
    id: testCase
    name: "CheckWindow"
    when: windowShown

    property string dir: probe.tempPath()
    property string base: dir + "/base"
    property var check: root.checkInterface
    property var model: check.checkModel

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function element(pack, partNumber, bank, index, x, y, angle, disabled, designator) {
        return call(root.area, "createElement", [Rig.packageIndex(pack), partNumber, bank, index, x, y, angle, disabled,
                                                  designator, -1, -1, ""])
    }
    function sentSince(n) { return probe.machineLinkTexts().slice(n) }
    function control(name) {
        var item = findChild(check.contentItem, name)
        verify(item !== null, name)
        return item
    }
    function row(i) { return probe.entry(model, i) }
    // The approach block of the camera to (x, y) at full speed, as the gate gets it.
    function approach(x, y) { return "g0 zMax\ng0 x" + x + " y" + y + "\ng0 zMax\n" }

    // The detached link answers on the next turn of the event loop.
    function settle() {
        tryVerify(function() { return !check.going && root.gCodeDone }, 2000)
    }

    function initTestCase() {
        verify(Rig.loadPackages(base, { "0603(A1.6B0.8H0.45).png": [16, 8],
                                        "SOT23(A2.9B1.3H1.1).png": [29, 13] }))
        compare(root.packageList.count, 2)
        verify(probe.detachMachineLink())
        Rig.calibrate()
        call(root, "setMachineSpeedSlider", [100])
        call(root, "maxVelGet", [100, 80, 50, 100, 100, 100])
        call(root, "maxAccGet", [1000, 600, 500, 1000])
        root.endingGcode = ""
        root.camera1XShift = 0
        root.camera1YShift = 0
        root.checkChangeFOV = false
        root.checkOrder = 0
        root.workAreaX1 = 0
        root.workAreaY1 = 0
        root.workAreaX2 = 500
        root.workAreaY2 = 500
    }

    function init() {
        check.close()
        probe.setMachineLinkAnswers(true)
        call(root, "setMachineSpeedSlider", [100])
        root.endingGcode = ""
        root.debugMode = false
        root.pcbMulti = false
        probe.setValue(root.headCameraRequest, "timeoutMs", 5000)
    }

    // Three rows of the first board of a two-board panel, the camera at the
    // first one: SOT23 Q1, 0603 R1, 0603 on top; a disabled R9 gives none.
    function table() {
        call(root.projectActions, "clearProject")
        call(root.area, "setRefPoint", [5, 5, 0])
        element("0603", "10k", "B", 0, 10, 20, 0, 0, "R1")        // centre 10.8, 20.4
        element("0603", "1k", "U", 1, 40, 20, 90, 0, "")          // centre 40.8, 20.4
        element("SOT23", "BC847", "B", 2, 25, 60, 0, 0, "Q1")     // centre 26.45, 60.65
        element("0603", "22k", "B", 0, 70, 20, 0, 1, "R9")        // disabled: no row
        root.pcbMulti = true                                      // board (0, 1) gives no rows
        root.pcbMultiCountX = 2
        root.pcbMultiCountY = 1
        root.pcbMultiSpacingX = 100
        root.checkScanAllRefs = true
        root.allowRunWithoutFiducials = true                      // one mark only
        call(root, "showToolWindow", ["checkInterface"])
        var sent = probe.machineLinkTexts().length
        mouseClick(control("checkStartButton"))
        settle()
        compare(model.count, 3)
        return sent
    }

    function cleanupTestCase() {
        probe.setMachineLinkAnswers(true)
        check.close()
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    function test_refusals() {
        call(root.projectActions, "clearProject")
        element("0603", "10k", "B", 0, 10, 20, 0, 0, "R1")
        root.allowRunWithoutFiducials = false
        call(root, "showToolWindow", ["checkInterface"])
        verify(check.visible)
        var sent = probe.machineLinkTexts().length
        call(check, "startStopF")
        compare(Rig.lastLog(), "Ошибка: Проверьте расстановку реперных знаков!")
        compare(model.count, 0)
        verify(!call(root, "activityRunning", ["check"]))

        // A panel whose boards are all excluded.
        root.allowRunWithoutFiducials = true
        root.pcbMulti = true
        root.pcbMultiCountX = 2
        root.pcbMultiCountY = 1
        call(root.smtInterface.creation, "setBoardExcluded", [0, 0, true])
        call(root.smtInterface.creation, "setBoardExcluded", [0, 1, true])
        call(check, "startStopF")
        compare(Rig.lastLog(), "Ошибка: Все платы исключены из расстановки!")
        compare(model.count, 0)
        compare(sentSince(sent), [])
        call(root.smtInterface.creation, "setBoardExcluded", [0, 0, false])
        call(root.smtInterface.creation, "setBoardExcluded", [0, 1, false])
        root.pcbMulti = false
    }

    function test_tableWithoutMarks() {
        var sent = table()
        // By X: rows of larger design Y first (the row texts: tst_checkTable_lib.qml).
        compare([row(0).el, row(0).feeder, row(0).coords],
                ["  SOT23  BC847  Q1", "снизу №3", "X: 26.45  Y: 60.65"])
        compare(row(1).el, "  0603  10k  R1")
        compare(check.currentRow, 0)
        // The camera goes to the first row at once.
        compare(sentSince(sent), [approach("26.450", "439.350")])
        verify(!call(root, "activityRunning", ["check"]))
    }

    function test_steppingByHand() {
        table()
        var sent = probe.machineLinkTexts().length
        mouseClick(control("checkNextButton"))
        compare(check.currentRow, 1)
        settle()
        mouseClick(control("checkNextButton"))
        compare(check.currentRow, 2)
        settle()
        call(check, "next")                                       // the last row
        compare(check.currentRow, 2)
        mouseClick(control("checkPrevButton"))
        compare(check.currentRow, 1)
        settle()
        compare(sentSince(sent), [approach("10.800", "479.600"), approach("40.800", "479.600"),
                                  approach("10.800", "479.600")])
        // While a move runs, stepping waits.
        probe.setMachineLinkAnswers(false)
        call(check, "next")
        verify(check.going)
        verify(call(root, "activityRunning", ["check"]))
        call(check, "next")
        compare(check.currentRow, 2)
        probe.answerMachineLink(true)
        settle()
        verify(!call(root, "activityRunning", ["check"]))
        probe.setMachineLinkAnswers(true)
        compare(sentSince(sent).length, 4)
    }

    // A machine error while the show moves the camera ends the show and the
    // move; the table stays and the next click goes again.
    function test_machineErrorHaltsTheShow() {
        table()
        call(check, "selectRow", [0])
        settle()
        probe.setMachineLinkAnswers(false)
        call(check, "play", [true])
        verify(check.going)
        root.appError("test")
        verify(!check.playing)
        verify(!check.going)
        verify(!call(root, "activityRunning", ["check"]))
        compare(model.count, 3)
        probe.answerMachineLink(false)
        probe.setMachineLinkAnswers(true)
        settle()
        call(check, "selectRow", [2])
        verify(check.going)
        settle()
        compare(check.currentRow, 2)
    }

    function test_slideShow() {
        table()
        root.checkInterval = 0.2
        call(check, "selectRow", [0])
        settle()
        var sent = probe.machineLinkTexts().length
        mouseClick(control("checkPlayButton"))
        verify(check.playing)
        verify(check.executing)
        tryVerify(function() { return !check.playing }, 3000)
        compare(check.currentRow, 2)
        compare(sentSince(sent), [approach("10.800", "479.600"), approach("40.800", "479.600")])
        verify(!call(root, "activityRunning", ["check"]))
    }

    function test_correction() {
        table()
        call(check, "selectRow", [1])                               // R1 at (10, 20)
        settle()
        var text = control("checkCorrectionText")
        compare(text.text, "X: 10.00  Y: 20.00  Поворот: 0.0")
        verify(call(check, "moveEl", [0.01, 0]))
        compare(row(1).coords, "X: 10.81  Y: 20.40")
        verify(call(check, "moveEl", [0, -0.01]))                  // up is -Y of the design
        // Right up to the edge of the work area (500 mm): the next step is
        // refused (the limits: tst_checkTable_lib.qml).
        verify(call(check, "moveEl", [488.39, 0]))                  // right edge at 500
        verify(!call(check, "moveEl", [0.01, 0]))
        compare(text.text, "X: 498.40  Y: 19.99  Поворот: 0.0")
    }

    function test_stopByOperatorSendsTheEndingGCode() {
        table()
        root.endingGcode = "g0 x1"
        root.endingGCodeOnUserStop = true
        root.checkInterval = 5
        call(check, "startStopF")                                  // the table again
        settle()
        compare(model.count, 3)
        var sent = probe.machineLinkTexts().length
        probe.setMachineLinkAnswers(false)
        call(check, "play", [true])
        verify(check.going)
        mouseClick(control("checkStartButton"))
        verify(!check.playing)
        verify(!check.going)
        compare(model.count, 0)                                    // a stop clears the table
        verify(!call(root, "activityRunning", ["check"]))
        // The ending block waits for the running move.
        compare(sentSince(sent), [approach("10.800", "479.600")])
        probe.answerMachineLink(true)
        tryVerify(function() { return probe.machineLinkTexts().length === sent + 2 }, 2000)
        compare(sentSince(sent), [approach("10.800", "479.600"), "g0 x1\ng0 zMax\n"])
        probe.answerMachineLink(true)
        tryVerify(function() { return root.gCodeDone }, 2000)
    }

    function test_accuracyTestWithNothingFound() {
        table()
        root.debugMode = true
        probe.setValue(root.headCameraRequest, "timeoutMs", 30)
        call(check, "startStopF")
        settle()
        compare(model.count, 3)
        var sent = probe.machineLinkTexts().length
        mouseClick(control("checkTestButton"))
        verify(check.testing)
        tryVerify(function() { return !check.testing }, 3000)
        compare(sentSince(sent), ["g0 zMax\ng0 x26.450 y439.350\ng4 p1\ng0 zMax\n",
                                  "g0 zMax\ng0 x10.800 y479.600\ng4 p1\ng0 zMax\n",
                                  "g0 zMax\ng0 x40.800 y479.600\ng4 p1\ng0 zMax\n"])
        compare(row(2).dX, "-1000")
    }

    function test_hidingClearsTheTable() {
        table()
        check.close()
        verify(!check.visible)
        compare(model.count, 0)
        var previews = probe.value(root.refList[0], "previews")
        compare(previews[0][0].fidX, -1000)
        compare(previews[0][1].fidX, -1000)
    }

}
