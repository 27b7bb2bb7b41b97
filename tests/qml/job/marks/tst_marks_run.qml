import QtQuick 2.15
import QtTest 1.2

// The head-camera rows of a run in the whole program as ./run.sh starts it
// (the simulated machine's settings store and demo project, the simulated
// head camera looking at the demo board): the calibration mark, the starting
// G-code, the reference-mark search, the solder dots and the ending G-code
// run from "Начать". The machine link is detached; a follower stands in for
// the machine: each block moves the machine to the last X and Y it names
// (the relative frame plus relX/relY, as the machine link does) and is then
// answered as done.
TestCase {
    id: testCase
    name: "MarksRun"
    when: windowShown

    property var screen: root.smtInterface
    property var jobModel: null
    property int answered: 0
    property var calibXY: null

    readonly property real shiftX: root.camera1XShift
    readonly property real shiftY: root.camera1YShift
    readonly property string dotGCode: "m64 p8\ng4 p0.1\nm65 p8"

    Connections {
        target: root
        function onCalibXYSend(x, y) { testCase.calibXY = [x, y] }
    }

    // ---- the machine stand-in
    function wordValue(line, axis) {
        var m = new RegExp("(?:^|\\s)" + axis + "(calib|[-+]?[0-9]*\\.?[0-9]+)", "i").exec(line)
        if (!m)
            return null
        if (m[1].toLowerCase() === "calib")
            return calibXY ? calibXY[axis === "x" ? 0 : 1] : null
        return Number(m[1])
    }
    function follow(text) {
        var x = null, y = null
        var lines = String(text).split("\n")
        for (var i = 0; i < lines.length; ++i) {
            var l = lines[i].trim()
            if (!/^g[01]\b/i.test(l))
                continue
            var vx = wordValue(l, "x"), vy = wordValue(l, "y")
            if (vx !== null) x = vx
            if (vy !== null) y = vy
        }
        if (x !== null)
            at[0] = x + root.relX
        if (y !== null)
            at[1] = y + root.relY
        moveTo(at[0], at[1])
    }
    // Where the stand-in machine stands (machine coordinates).
    property var at: [200, 200]
    function moveTo(x, y) {
        at = [x, y]
        probe.call(root, "jointPosGet", [[x, y, 0, 0]])
    }
    Timer {
        id: machine
        interval: 15
        repeat: true
        onTriggered: {
            var texts = probe.machineLinkTexts()
            if (texts.length <= testCase.answered)
                return
            testCase.follow(texts[testCase.answered])
            testCase.answered += 1
            probe.answerMachineLink(true)
        }
    }

    // ---- helpers
    function machinePoint(rX, rY) { return [rX + root.workAreaX1, root.workAreaY2 - rY] }
    function completes() {
        var out = []
        for (var i = 0; i < jobModel.rowCount; ++i)
            out.push(jobModel.getComplete(i))
        return out
    }
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
    // "<prefix>x<X> y<Y><suffix>" with X, Y within `tolerance` of (x, y).
    function checkMove(text, prefix, x, y, suffix, tolerance, what) {
        verify(text.indexOf(prefix) === 0, what + " starts with " + JSON.stringify(prefix) + ": "
               + JSON.stringify(text))
        verify(text.slice(text.length - suffix.length) === suffix, what + " ends with " + JSON.stringify(suffix)
               + ": " + JSON.stringify(text))
        var middle = text.slice(prefix.length, text.length - suffix.length)
        var m = /^x(-?\d+\.\d{3}) y(-?\d+\.\d{3})$/.exec(middle)
        verify(m !== null, what + ": " + JSON.stringify(middle))
        near(Number(m[1]), x, tolerance, what + " X")
        near(Number(m[2]), y, tolerance, what + " Y")
    }
    function logMessages(from) {
        var out = []
        for (var i = from; i < root.logModel.count; ++i)
            out.push(String(probe.entry(root.logModel, i).message))
        return out
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
        verify(probe.detachMachineLink())
        probe.setMachineLinkAnswers(false)
        // Marks and dots only: the components go.
        for (var k = root.elementCount; k > 0 && root.elementCount > 0; --k)
            root.area.removeElement(root.elementList[0])
        compare(root.elementCount, 0)
        var i
        root.upFeedersModel.setProperty(9, "gCode", dotGCode)
        // The machine maxima as the configuration check reports them.
        root.maxVelGet(250, 250, 100, 360, 100, 100)
        root.maxAccGet(1000, 1000, 500, 1000)
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
        // The machine on, homed and calibrated, as after homeWait.
        root.machineOnGet(true)
        root.jointHomedGet(true, true, true, true, true)
        probe.setValue(root.machineState, "machineHomed2", true)
        moveTo(200, 200)
        machine.start()
    }

    function cleanup() {
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        if (run("executing"))
            root.appError("test end")
    }

    function cleanupTestCase() {
        machine.stop()
        screen.close()
        root.machineOnGet(false)
        probe.attachMachineLink()
    }

    // Every case starts with the board where the project has it.
    function init() { worker.simWorldSetBoardDisplacement(0, 0, 0) }

    // Runs the program from "Начать"; returns the blocks it sent.
    function runProgram(untilStopped) {
        rebuild()
        compare(opFuncs(), ["justCalibrateWait", "gCodeWait", "findRefPoints", "setupDots", "gCodeWait"])
        tryVerify(function() { return screen.startEnabled }, 3000)
        var from = probe.machineLinkTexts().length
        var log = root.logModel.count
        mouseClick(findChild(screen.contentItem, "startButton"))
        verify(run("executing"), JSON.stringify(logMessages(log)) + JSON.stringify(completes()))
        if (untilStopped)
            tryVerify(function() { return !run("executing") }, 60000)
        return from
    }

    function test_programRunsOnTheSimulatedHeadCamera() {
        var log = root.logModel.count
        var from = runProgram(true)
        compare(completes(), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"],
                JSON.stringify(logMessages(log)) + JSON.stringify(probe.machineLinkTexts().slice(from)))
        compare(logMessages(log).filter(function(m) { return m.indexOf("Ошибка") >= 0 }), [])
        var texts = probe.machineLinkTexts().slice(from)

        // Calibration mark, short form: to the mark at 15 % acceleration,
        // then centred once more on what the camera saw, head up.
        var n = 0
        compare(texts[n++], "m65 p4\ng1 f6000   acc75  zMax\ng1 f15000  acc150  xCalib yCalib\n\ng0 zMax\n")
        compare(calibXY, [root.calibX, root.calibY])
        checkMove(texts[n++], "g0 ", root.calibX, root.calibY, "\ng0", 0.05, "centring on the calibration mark")
        compare(texts[n++], "g0 zMax\n\ng0 zMax\n")
        near(root.relX, 0, 0.05, "relX")
        near(root.relY, 0, 0.05, "relY")
        verify(root.calibrated)
        verify(!root.calibrating)
        verify(root.calibFound)

        // Starting G-code.
        compare(texts[n++], "g0 x10 y10\ng0 zMax\n")

        // The marks: the camera over each, in the search order.
        var list = probe.value(screen, "refListMulti")
        compare(list.length, 3)
        var first = list[0]
        for (var i = 0; i < list.length; ++i) {
            var p = list[i]
            var at = machinePoint(p.rX, p.rY)
            checkMove(texts[n++], "m65 p4\ng0 zMax\n g0 ", at[0] - shiftX, at[1] - shiftY, "\n\ng0 zMax\n",
                      i === 0 ? 0.0005 : 0.05, "camera over mark " + i)
            near(p.fidX, at[0], 0.03, "mark " + i + " X")
            near(p.fidY, at[1], 0.03, "mark " + i + " Y")
        }

        // The dots, each where the board puts it less the camera offset and
        // the dispenser's own offset.
        var group = probe.value(screen, "dotAA")[0]
        compare(group.length, 4)
        for (i = 0; i < group.length; ++i) {
            var d = machinePoint(group[i].rX, group[i].rY)
            checkMove(texts[n++], "g0 zMax\ng0 ", d[0] - shiftX - root.d1XShift, d[1] - shiftY - root.d1YShift,
                      "\n" + dotGCode + "\ng0 zMax\n\ng0 zMax\n", 0.05, "dot " + i)
        }
        // Ending G-code, and nothing else.
        compare(texts[n++], "g0 x20 y20\ng0 zMax\n")
        compare(texts.length, n)
        // The camera stops and its window goes once the search is over.
        verify(!root.headCameraRequest.hold)
        verify(!root.headCameraRequest.calculating)
        verify(!root.findToolWindow("camera1Window").visible)
        verify(!root.activityRunning("calibration"))
    }

    // The board lies shifted by more than the machine allows: the board-move
    // dialog holds the search; the start key agrees, which moves the board
    // in the project by the shift found.
    function test_boardMoveDialogOnAShiftedBoard() {
        worker.simWorldSetBoardDisplacement(0.3, -0.2, 0)
        var pcbX = root.pcbX, pcbY = root.pcbY
        var world = worker.simWorld()
        runProgram(false)
        var dialog = root.jobPort.markPort.boardMoveDialog
        tryVerify(function() { return dialog.visible }, 60000)
        verify(run("pcbMoveDialogShown"))
        verify(!findChild(screen.contentItem, "pauseButton").enabled)
        compare(dialog.title, "Обнаружен сдвиг")
        var text = findChild(dialog.contentItem, "boardMoveText").text
        var m = /^Обнаружен сдвиг первого реперного знака по X: (-?\d+\.\d\d) по Y: (-?\d+\.\d\d)\.\nПодвинуть плату в проекте на соответствующее расстояние\?\nЕсли плата установлена правильно, рекомендуется согласиться\.$/.exec(text)
        verify(m !== null, JSON.stringify(text))
        near(Number(m[1]), -0.3, 0.02, "shift X")
        near(Number(m[2]), 0.2, 0.02, "shift Y")
        compare(completes()[2], "3 из 3")
        // The start key answers "Да".
        root.progStartBtnPressed()
        verify(!dialog.visible)
        verify(!run("pcbMoveDialogShown"))
        near(root.pcbX - pcbX, 0.3, 0.02, "board X in the project")
        near(root.pcbY - pcbY, 0.2, 0.02, "board Y in the project")
        // The marks and dots moved with the board (the world of the simulated
        // camera is the project's: machine Y runs against design Y).
        tryVerify(function() { return Math.abs(worker.simWorld().marks[0].x - world.marks[0].x - 0.3) < 0.02 }, 2000)
        var moved = worker.simWorld()
        for (var i = 0; i < world.marks.length; ++i) {
            near(moved.marks[i].x - world.marks[i].x, root.pcbX - pcbX, 1e-9, "mark " + i + " X")
            near(moved.marks[i].y - world.marks[i].y, -(root.pcbY - pcbY), 1e-9, "mark " + i + " Y")
        }
        for (i = 0; i < world.dots.length; ++i) {
            near(moved.dots[i].x - world.dots[i].x, root.pcbX - pcbX, 1e-9, "dot " + i + " X")
            near(moved.dots[i].y - world.dots[i].y, -(root.pcbY - pcbY), 1e-9, "dot " + i + " Y")
        }
        tryVerify(function() { return !run("executing") }, 60000)
        compare(completes(), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
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
        runProgram(false)
        var dialog = root.jobPort.markPort.boardMoveDialog
        tryVerify(function() { return dialog.visible }, 60000)
        mouseClick(findChild(dialog.contentItem, data.button))
        verify(!dialog.visible)
        compare(root.pcbX, pcbX)
        if (data.executing) {
            tryVerify(function() { return !run("executing") }, 60000)
            compare(completes(), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
        } else {
            verify(!run("executing"))
            verify(logMessages(log).indexOf("Программа расстановки остановлена оператором") >= 0)
            compare(completes()[3], "")
        }
    }

    // A mark the camera cannot see holds the run at the reference-mark
    // panel; "Указать перекрестием" takes the camera centre and goes on.
    function test_markNotFoundPanel() {
        // The board far off: the first mark is out of the picture.
        worker.simWorldSetBoardDisplacement(8, 0, 0)
        runProgram(false)
        var area = findChild(screen.contentItem, "operatorPanel")
        tryVerify(function() { return area.visible }, 60000)
        verify(findChild(area, "operatorPanelText").text.indexOf("Не удалось найти реперный знак! ") === 0)
        compare(jobModel.getErrorCount(2), "1")
        var w = root.findToolWindow("camera1Window")
        verify(w.visible)
        verify(w.markCross)
        verify(findChild(area, "panelButton_commonSettings").enabled)
        // The settings buttons keep the panel; a settings window this
        // program does not have yet is reported in the log.
        var log = root.logModel.count
        // The panel's buttons are laid out side by side.
        tryVerify(function() {
            var c = findChild(area, "panelButton_commonSettings"), o = findChild(area, "panelButton_ownSettings")
            return c.visible && o.visible && c.width > 0 && o.width > 0 && (c.x + c.width <= o.x || o.x + o.width <= c.x)
        })
        mouseClick(findChild(area, "panelButton_commonSettings"))
        mouseClick(findChild(area, "panelButton_ownSettings"))
        verify(area.visible)
        compare(logMessages(log), ["Окно недоступно: pcbSettings", "Окно недоступно: refPointSettings"])
        // The operator brings the camera over the mark by hand.
        worker.simWorldSetBoardDisplacement(0, 0, 0)
        mouseClick(findChild(area, "panelButton_crossHair"))
        verify(!w.markCross)
        verify(!area.visible)
        var p = probe.value(screen, "refListMulti")[0]
        var at = machinePoint(p.rX, p.rY)
        near(p.fidX, at[0], 1e-6, "mark 0 X from the cross-hair")
        near(p.fidY, at[1], 1e-6, "mark 0 Y from the cross-hair")
        tryVerify(function() { return !run("executing") }, 60000)
        compare(completes(), ["выполнено", "выполнено", "3 из 3", "4", "выполнено"])
    }
}
