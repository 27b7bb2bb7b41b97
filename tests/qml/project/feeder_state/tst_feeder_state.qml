import QtQuick 2.15
import QtTest 1.2
import "../../common/ProgramRig.js" as Rig

// What a run changes in the feeders, in the real program: stored fields
// written into the bank and saved into its file (only the changed banks),
// refused writes, the run-only state that never reaches a file, and a
// feeder's photo reaching the component camera as its template.
// Every case starts with fresh banks saved into a folder of its own.
TestCase {
    id: testCase
    name: "FeederState"
    when: windowShown

    property int caseNumber: 0
    property string dir: probe.tempPath() + "/case" + caseNumber
    property string bankPath: dir + "/banks/state.bottomFeeders"
    property string bankUrl: probe.fileUrl(bankPath)
    property string upPath: dir + "/banks/state.upFeeders"

    function call(object, name, args) { return probe.call(object, name, args === undefined ? [] : args) }
    function feeder(bank, n) { return call(root, "getFeeder", [bank, n]) }
    function dirty(bank) { return call(root.feederState, "isDirty", [bank]) }

    // A 3 x 5 BMP picture as a data URL (every byte below 128, so that it
    // survives the text-to-base64 helper of QML).
    function bmpDataUrl(grey) {
        var w = 3, h = 5, row = 12, size = 54 + row * h
        var bytes = [66, 77].concat(le(size), le(0), le(54), le(40), le(w), le(h), [1, 0, 24, 0], le(0),
                                    le(row * h), le(2835), le(2835), le(0), le(0))
        for (var y = 0; y < h; ++y) {
            for (var x = 0; x < w; ++x)
                bytes.push(grey, grey, grey)
            for (var p = w * 3; p < row; ++p)
                bytes.push(0)
        }
        var text = ""
        for (var i = 0; i < bytes.length; ++i)
            text += String.fromCharCode(bytes[i])
        return "data:image/bmp;base64," + Qt.btoa(text)
    }
    function le(v) { return [v & 255, (v >> 8) & 255, (v >> 16) & 255, (v >> 24) & 255] }

    function init() {
        caseNumber += 1
        call(root, "clearFeederRunState")
        root.feederEnabledB = true
        root.feederEnabledU = true
        root.feederCountB = 0
        call(root.feedersInvoker, "changeCount", ["B"])
        root.feederCountU = 0
        call(root.feedersInvoker, "changeCount", ["U"])
        root.feederCountB = 3
        call(root.feedersInvoker, "changeCount", ["B"])
        root.feederCountU = 2
        call(root.feedersInvoker, "changeCount", ["U"])
        root.feederFileB = bankUrl
        root.feederFileU = probe.fileUrl(upPath)
        root.saveFeeders(bankUrl)
        verify(probe.fileExists(bankPath))
        verify(!probe.fileExists(upPath))
        compare(Number(probe.iniValue(bankPath, "feederB2/caseCurrNumber")), 0)
    }

    function test_writtenValuesAreSavedAndReadBack() {
        verify(!dirty("B"))
        verify(call(root, "setFeederValue", ["B", 1, "caseCurrNumber", 5]))
        verify(call(root, "setFeederValue", ["bottomFeedersModel", 1, "setCount", 12]))
        compare(feeder("B", 1).caseCurrNumber, 5)
        compare(feeder("B", 1).setCount, 12)
        verify(dirty("B"))
        verify(!dirty("U"))
        // Nothing reaches the file before the save.
        compare(Number(probe.iniValue(bankPath, "feederB2/caseCurrNumber")), 0)

        verify(call(root, "saveDirtyFeeders"))
        verify(!dirty("B"))
        compare(Number(probe.iniValue(bankPath, "feederB2/caseCurrNumber")), 5)
        compare(Number(probe.iniValue(bankPath, "feederB2/setCount")), 12)
        // Only the changed bank was saved (read back: tst_feeder_file.cpp,
        // feederRoundTripEveryField).
        verify(!probe.fileExists(upPath))

        // Writing the value a field already has changes nothing to save.
        verify(call(root, "setFeederValue", ["B", 1, "caseCurrNumber", 5]))
        verify(!dirty("B"))
    }

    // The value checks themselves: tst_feederState_lib.qml.
    function test_badWritesAreRefusedAndNamed_data() {
        var notWritten = ", значение не записано"
        return [
            { tag: "unknown field", model: "B", index: 0, name: "colour", value: "red",
              text: "Питатель №1 (снизу): поле «colour» не хранится в файле питателей" + notWritten },
            { tag: "feeder beyond the bank", model: "B", index: 3, name: "setCount", value: 1,
              text: "Питатель №4 (снизу) не существует: значение поля «setCount» не записано" },
        ]
    }
    function test_badWritesAreRefusedAndNamed(data) {
        var before = [feeder("B", 0), feeder("B", 1), feeder("B", 2), feeder("U", 0)]
        verify(!call(root, "setFeederValue", [data.model, data.index, data.name, data.value]))
        compare(Rig.lastLog(), "Ошибка: " + data.text)
        compare([feeder("B", 0), feeder("B", 1), feeder("B", 2), feeder("U", 0)], before)
        verify(!dirty("B"))
        verify(!dirty("U"))
    }

    // A save that fails keeps the bank marked and tells the operator; the
    // next save that works writes it.
    function test_failedSaveKeepsTheBankMarked() {
        var blocked = dir + "/banks/blocked.bottomFeeders"
        verify(probe.writeText(blocked + "/keep", "a folder where the file should be"))
        root.feederFileB = probe.fileUrl(blocked)
        verify(call(root, "setFeederValue", ["B", 0, "basketCount", 3]))
        verify(!call(root, "saveDirtyFeeders"))
        verify(dirty("B"))
        verify(Rig.lastLog().indexOf("Ошибка записи в файл настроек питателей! Путь к файлу:" + blocked) >= 0, Rig.lastLog())
        compare(probe.readText(blocked + "/keep"), "a folder where the file should be")
        compare(Number(probe.iniValue(bankPath, "feederB1/basketCount")), 0)

        // A bank without a file is named and stays marked as well.
        root.feederFileB = ""
        verify(!call(root, "saveDirtyFeeders"))
        compare(Rig.lastLog(), "Ошибка: Не указаны пути сохранения настроек питателей!")
        verify(dirty("B"))

        root.feederFileB = bankUrl
        verify(call(root, "saveDirtyFeeders"))
        verify(!dirty("B"))
        compare(Number(probe.iniValue(bankPath, "feederB1/basketCount")), 3)
    }

    // The run state itself, one object per feeder until cleared:
    // tst_feederState_lib.qml (test_runStateIsOneObjectPerFeederUntilCleared).
    function test_runStateStaysOutOfTheFiles() {
        call(root, "clearFeederRunState")
        call(root.feederState, "setRunValue", ["B", 0, "centeringCurrCount", 4])
        call(root.feederState, "setRunValue", ["bottom", 0, "finished", true])
        compare(call(root, "feederRunState", ["B", 0]).centeringCurrCount, 4)

        // Never part of the feeder records or their files.
        verify(call(root, "setFeederValue", ["B", 0, "setCount", 20]))
        verify(call(root, "saveDirtyFeeders"))
        var keys = probe.iniKeys(bankPath)
        var runOnly = ["centeringCurrCount", "centeringResults", "debugArray", "noShiftOnStartDone", "finished",
                       "error", "lastGetX", "centeringX"]
        for (var i = 0; i < keys.length; ++i)
            verify(runOnly.indexOf(keys[i].split("/").pop()) < 0, keys[i])
        compare(Number(probe.iniValue(bankPath, "feederB1/setCount")), 20)
        verify(probe.entry(root.bottomFeedersModel, 0).centeringCurrCount === undefined)
        // A new run starts afresh.
        call(root, "clearFeederRunState")
        compare(call(root, "feederRunState", ["B", 0]).centeringCurrCount, 0)
    }

    function test_feederPhotoReachesTheComponentCamera() {
        var camera = probe.find(root, "camera2")
        verify(camera)
        verify(call(root, "setFeederValue", ["B", 0, "camera2Photo", bmpDataUrl(100)]))
        root.makeQImage("image://worker/camera2_B0")
        compare(root.makeQImageResultSize, Qt.size(3, 5))

        verify(camera.loadTemplate("image://worker/camera2_B0"))
        compare(probe.greyAt(camera, "compareImage", 2, 4), 100)
        compare(probe.greyAt(camera, "compareImage", 3, 0), -1)

        // A photo that does not decode: a message naming the feeder, no
        // picture, and the camera's template taken away.
        verify(call(root, "setFeederValue", ["B", 1, "camera2Photo", "data:image/png;base64,@@@@"]))
        root.makeQImage("image://worker/camera2_B1")
        compare(root.makeQImageResultSize, Qt.size(1, 1))
        compare(Rig.lastLog(), "Ошибка: Фото компонента питателя №2 (снизу) не загружено: "
                + "Изображение не прочитано: данные base64 повреждены")
        verify(!camera.loadTemplate("image://worker/camera2_B1"))
        compare(probe.greyAt(camera, "compareImage", 0, 0), -1)
    }

}
