import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig
import "../../common"

// The head-camera rows of a run in the whole program as ./run.sh starts it
// (the simulated machine's settings store and demo project, the simulated
// head camera looking at the demo board): the calibration mark, the starting
// G-code, the reference-mark search, the solder dots and the ending G-code
// run from "Начать". The machine link is detached; the stand-in machine
// walks and answers every block. The blocks themselves are the marks
// library's (tst_marks.qml), where the marks are found and the dots go on
// the simulated machine tst_run_on_machine.qml's and tst_marks_on_machine.qml's;
// here: what the operator sees and answers.
TestCase {
    id: testCase
    name: "MarksRun"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null
    readonly property string dotGCode: "m64 p8\ng4 p0.1\nm65 p8"

    MachineStandIn { id: machine; at: [200, 200, 0, 0] }

    // ---- helpers
    function machinePoint(rX, rY) { return [rX + root.workAreaX1, root.workAreaY2 - rY] }
    function opFuncs() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getOpFunc(i))
        return out
    }
    function run(name) { return probe.value(screen, name) }
    function near(a, b, tolerance, what) {
        verify(Math.abs(a - b) <= tolerance, what + ": " + a + " instead of " + b)
    }

    function rebuild() {
        screen.close()
        probe.call(root, "showToolWindow", ["smtInterface"])
        jobModel = probe.value(screen, "jobModel")
        tryVerify(function() { return screen.programCreated }, 3000)
    }

    function initTestCase() {
        tryVerify(function() { return String(root.projectName).indexOf("/projects/demo/demo.project") >= 0
                               && root.elementCount > 0 && root.refCount === 3 && root.dotCount === 4 }, 10000)
        tryVerify(function() { return root.upFeedersModel.count >= 10 }, 5000)
        // Marks and dots only: the components go.
        for (var k = root.elementCount; k > 0 && root.elementCount > 0; --k)
            root.area.removeElement(root.elementList[0])
        compare(root.elementCount, 0)
        var i
        root.upFeedersModel.setProperty(9, "gCode", dotGCode)
        root.calibEnabled = true
        root.calibBeforeRun = true
        root.startingGcode = "g0 x10 y10"
        root.endingGcode = "g0 x20 y20"
        root.cupWarningEnabled = false
        root.projectAoiEnabled = false
        root.progAutoRestart = false
        root.d1XShift = 2
        root.d1YShift = -1
        root.camera1Delay = 100
        root.vsEnabled = false
        // The simulated camera draws a 1 mm mark a little over 5 % off its
        // size as the recognition measures it: a wider size window.
        findChild(root, "camera1").targetSizeTolerance = 10
        verify(machine.takeOver())
    }

    function cleanup() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        if (run("executing"))
            root.appError("test end")
    }

    function cleanupTestCase() {
        machine.giveBack()
        screen.close()
    }

    // Every case starts with the board where the project has it.
    function init() { worker.simWorldSetBoardDisplacement(0, 0, 0) }

    // Starts the program from "Начать".
    function runProgram() {
        rebuild()
        compare(opFuncs(), ["justCalibrateWait", "gCodeWait", "findRefPoints", "setupDots", "gCodeWait"])
        tryVerify(function() { return screen.startEnabled }, 3000)
        var log = root.logModel.count
        mouseClick(findChild(screen.contentItem, "startButton"))
        verify(run("executing"), JSON.stringify(Rig.logMessages(log)))
    }

    // The feeders' search regions are worked out on the component camera's
    // own frame, as the run will use it.
    function test_creationUsesTheComponentCameraFrame() {
        var creation = probe.find(screen, "programCreation")
        var camera = findChild(root, "camera2")
        verify(creation !== null && camera !== null)
        verify(camera.frameHeight > 0)
        compare(creation.frameHeight(), camera.frameHeight)
    }

    // The board lies shifted by more than the machine allows: the board-move
    // dialog holds the search; the start key agrees, which moves the board
    // in the project by the shift found.
    function test_boardMoveDialogOnAShiftedBoard() {
        worker.simWorldSetBoardDisplacement(0.3, -0.2, 0)
        var pcbX = root.pcbX, pcbY = root.pcbY
        runProgram()
        var dialog = root.jobPort.markPort.boardMoveDialog
        tryVerify(function() { return dialog.visible }, 60000)
        verify(run("pcbMoveDialogShown"))
        verify(!findChild(screen.contentItem, "pauseButton").enabled)
        // The shift found, in the dialog's text (the text itself: tst_marks.qml).
        var text = findChild(dialog.contentItem, "boardMoveText").text
        var m = /по X: (-?\d+\.\d\d) по Y: (-?\d+\.\d\d)\./.exec(text)
        verify(m !== null, JSON.stringify(text))
        near(Number(m[1]), -0.3, 0.02, "shift X")
        near(Number(m[2]), 0.2, 0.02, "shift Y")
        compare(Rig.completes(jobModel)[2], "3 из 3")
        // The start key answers "Да".
        root.progStartBtnPressed()
        verify(!dialog.visible)
        verify(!run("pcbMoveDialogShown"))
        near(root.pcbX - pcbX, 0.3, 0.02, "board X in the project")
        near(root.pcbY - pcbY, 0.2, 0.02, "board Y in the project")
        tryVerify(function() { return !run("executing") }, 60000)
        compare(Rig.completes(jobModel), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
        // Back where the project had it.
        root.area.moveBoard(pcbX - root.pcbX, pcbY - root.pcbY)
    }

    // "Отмена" stops the run as the operator's stop does; "Нет" goes on.
    function test_boardMoveDialogAnswers_data() {
        return [
            { tag: "no", button: "boardMoveNo", executing: true, moved: false },
            { tag: "cancel", button: "boardMoveCancel", executing: false, moved: false }
        ]
    }
    function test_boardMoveDialogAnswers(data) {
        worker.simWorldSetBoardDisplacement(-0.25, 0.1, 0)
        var pcbX = root.pcbX
        var log = root.logModel.count
        runProgram()
        var dialog = root.jobPort.markPort.boardMoveDialog
        tryVerify(function() { return dialog.visible }, 60000)
        mouseClick(findChild(dialog.contentItem, data.button))
        verify(!dialog.visible)
        compare(root.pcbX, pcbX)
        if (data.executing) {
            tryVerify(function() { return !run("executing") }, 60000)
            compare(Rig.completes(jobModel), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
            compare(Rig.logMessages(log).filter(function(m) { return m.indexOf("Ошибка") >= 0 }), [])
            verify(!root.activityRunning("calibration"))
        } else {
            verify(!run("executing"))
            var stopped = "Программа расстановки остановлена оператором"
            verify(Rig.logMessages(log).indexOf(stopped) >= 0)
            compare(Rig.completes(jobModel)[3], "")
        }
    }

    // A mark the camera cannot see holds the run at the reference-mark
    // panel; "Указать перекрестием" takes the camera centre and goes on.
    function test_markNotFoundPanel() {
        // The board far off: the first mark is out of the picture.
        worker.simWorldSetBoardDisplacement(8, 0, 0)
        runProgram()
        var area = findChild(screen.contentItem, "operatorPanel")
        tryVerify(function() { return area.visible }, 60000)
        verify(findChild(area, "operatorPanelText").text.indexOf("Не удалось найти реперный знак! ") === 0)
        compare(jobModel.getErrorCount(2), "1")
        var w = root.findToolWindow("camera1Window")
        verify(w.markCross)
        // The operator brings the camera over the mark by hand.
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        // Once the panel's buttons are laid out side by side.
        tryVerify(function() {
            var c = findChild(area, "panelButton_commonSettings"), o = findChild(area, "panelButton_ownSettings")
            return c.visible && o.visible && c.width > 0 && o.width > 0 && (c.x + c.width <= o.x || o.x + o.width <= c.x)
        })
        mouseClick(findChild(area, "panelButton_crossHair"))
        verify(!w.markCross)
        verify(!area.visible)
        var p = probe.value(screen, "refListMulti")[0]
        var at = machinePoint(p.rX, p.rY)
        near(p.fidX, at[0], 1e-6, "mark 0 X from the cross-hair")
        near(p.fidY, at[1], 1e-6, "mark 0 Y from the cross-hair")
        tryVerify(function() { return !run("executing") }, 60000)
        compare(Rig.completes(jobModel), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
    }
}
