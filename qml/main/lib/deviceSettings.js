.pragma library
// The machine settings editor without its window: the machine settings it
// shows, by group, with their labels, editor kinds and limits, and the
// parsing and checking of what the engineer types. Each key is a machine
// ("device") setting of the settings store and a property of the main window.
//
// A key entry: name, label, def (the default; its type gives the editor
// kind), and for numbers min / max (inclusive) and whole (whole numbers
// only); a string entry may ask for a colour ("color") or be multi-line
// G-code text ("multiline").

var MM = 5000          // the largest machine coordinate, mm
var DELAY_MS = 60000   // the longest camera settling delay, ms

function pos(name, label, def) { return { name: name, label: label, def: def, min: -MM, max: MM } }
function delayMs(name, label, def) { return { name: name, label: label, def: def, min: 0, max: DELAY_MS } }
function threshold(name, label, def) { return { name: name, label: label, def: def, min: 0, max: 255, whole: true } }
function flag(name, label, def) { return { name: name, label: label, def: def } }
function gcode(name, label) { return { name: name, label: label, def: "", multiline: true } }

var groups = [
    { caption: QT_TR_NOOP("Рабочее поле и скорости"), keys: [
        { name: "workAreaX2", label: QT_TR_NOOP("Рабочее поле по X, мм:"), def: 500, min: 1, max: MM },
        { name: "workAreaY2", label: QT_TR_NOOP("Рабочее поле по Y, мм:"), def: 500, min: 1, max: MM },
        { name: "workAreaZ1", label: QT_TR_NOOP("Нижняя граница по Z, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "workAreaZ2", label: QT_TR_NOOP("Верхняя граница по Z (безопасная высота), мм:"), def: 100, min: -1000, max: 1000 },
        { name: "boardX1", label: QT_TR_NOOP("Начало области платы по X, мм:"), def: 0, min: 0, max: MM },
        { name: "boardY1", label: QT_TR_NOOP("Начало области платы по Y, мм:"), def: 0, min: 0, max: MM },
        { name: "boardMaxWidth", label: QT_TR_NOOP("Наибольшая ширина платы, мм:"), def: 600, min: 1, max: MM },
        { name: "boardMaxHeight", label: QT_TR_NOOP("Наибольшая высота платы, мм:"), def: 300, min: 1, max: MM },
        { name: "minHeigthCompPCB", label: QT_TR_NOOP("Наименьшая высота над компонентами платы, мм:"), def: 0, min: 0, max: 1000 },
        flag("zTravelEnabled", QT_TR_NOOP("Снижать высоту перемещения над платой"), false),
        { name: "maxVelXYLimit", label: QT_TR_NOOP("Максимальная скорость при ручном перемещении по x,y:"), def: 500, min: 100, max: 4000 },
        { name: "maxVelZLimit", label: QT_TR_NOOP("Максимальная скорость при ручном перемещении по z:"), def: 150, min: 10, max: 300 },
        flag("slowPlacement", QT_TR_NOOP("Медленный захват и установка компонентов"), true),
        { name: "slowPickPlaceSpeed", label: QT_TR_NOOP("Скорость медленного захвата и установки, мм/мин:"), def: 6000, min: 1, max: 100000 },
        flag("longPressBRotate", QT_TR_NOOP("Вращать ось B при удержании кнопки старта"), true),
        flag("longPressCRotate", QT_TR_NOOP("Вращать ось C при удержании кнопки старта"), true),
        flag("allowOutOfBoard", QT_TR_NOOP("Разрешить компоненты за границей области расстановки"), false),
    ] },
    { caption: QT_TR_NOOP("Калибровка и реперы"), keys: [
        flag("autoCalibOnStart", QT_TR_NOOP("Калибровать машину после запуска LinuxCNC"), false),
        flag("calibEnabled", QT_TR_NOOP("Использовать калибровочный знак"), false),
        pos("calibX", QT_TR_NOOP("Калибровочный знак, X, мм:"), 0),
        pos("calibY", QT_TR_NOOP("Калибровочный знак, Y, мм:"), 0),
        flag("calib2Enabled", QT_TR_NOOP("Использовать второй калибровочный знак"), false),
        pos("calibX2", QT_TR_NOOP("Второй калибровочный знак, X, мм:"), 0),
        pos("calibY2", QT_TR_NOOP("Второй калибровочный знак, Y, мм:"), 0),
        { name: "calibRefPointType", label: QT_TR_NOOP("Форма знака (0 — круг, 1 — квадрат):"), def: 0, min: 0, max: 1, whole: true },
        { name: "calibRefPointSize", label: QT_TR_NOOP("Размер знака, мм:"), def: 1.0, min: 0.01, max: 100 },
        { name: "calibRefPointSize2", label: QT_TR_NOOP("Размер второго знака, мм:"), def: 1.0, min: 0.01, max: 100 },
        { name: "calibROIPercent", label: QT_TR_NOOP("Область поиска знака, %:"), def: 50, min: 0, max: 100 },
        threshold("calibThreshold1", QT_TR_NOOP("Порог распознавания знака 1:"), 150),
        threshold("calibThreshold2", QT_TR_NOOP("Порог распознавания знака 2:"), 50),
        flag("calibCameraInverse", QT_TR_NOOP("Инвертировать изображение знака"), false),
        flag("allowRunWithoutFiducials", QT_TR_NOOP("Разрешить работу без реперных знаков"), false),
    ] },
    { caption: QT_TR_NOOP("Проверка насадки"), keys: [
        flag("nozzleOnHeadCheckEnabled", QT_TR_NOOP("Проверять наличие насадки на голове"), false),
        pos("nozzleOnHeadCheckX", QT_TR_NOOP("Точка проверки, X, мм (-1 — не задана):"), -1),
        pos("nozzleOnHeadCheckY", QT_TR_NOOP("Точка проверки, Y, мм (-1 — не задана):"), -1),
        { name: "nozzleOnHeadCheckZ", label: QT_TR_NOOP("Точка проверки, Z, мм:"), def: 0, min: -1000, max: 1000 },
        flag("nozzleOnHeadCheckXYMatchCalib", QT_TR_NOOP("Точка проверки совпадает с калибровочным знаком"), false),
        { name: "nozzleOnHeadCheckSpeedXY", label: QT_TR_NOOP("Скорость проверки по X, Y, %:"), def: 10, min: 1, max: 100 },
        { name: "nozzleOnHeadCheckSpeedZ", label: QT_TR_NOOP("Скорость проверки по Z, %:"), def: 5, min: 1, max: 100 },
    ] },
    { caption: QT_TR_NOOP("Камеры"), keys: [
        { name: "camera1XShift", label: QT_TR_NOOP("Смещение камеры на голове от насадки по X, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "camera1YShift", label: QT_TR_NOOP("Смещение камеры на голове от насадки по Y, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "camera1MM", label: QT_TR_NOOP("Камера на голове, пикселей на мм:"), def: 20, min: 0.01, max: 1000 },
        delayMs("camera1Delay", QT_TR_NOOP("Задержка перед снимком камеры на голове, мс:"), 500),
        delayMs("camera1DelayAoi", QT_TR_NOOP("Задержка перед снимком при оптической инспекции, мс:"), 300),
        flag("camera1AutoShow", QT_TR_NOOP("Показывать камеру на голове при поиске реперов"), true),
        pos("camera2X", QT_TR_NOOP("Камера корректировки, X, мм:"), 0),
        pos("camera2Y", QT_TR_NOOP("Камера корректировки, Y, мм:"), 0),
        { name: "camera2Height", label: QT_TR_NOOP("Высота камеры корректировки, мм:"), def: 20, min: -1000, max: 1000 },
        { name: "camera2MinHeight", label: QT_TR_NOOP("Наименьшая высота над камерой корректировки, мм:"), def: 0, min: 0, max: 1000 },
        { name: "camera2MM", label: QT_TR_NOOP("Камера корректировки, пикселей на мм:"), def: 20, min: 0.01, max: 1000 },
        { name: "camera2PPMDistance", label: QT_TR_NOOP("Расстояние, для которого задано число пикселей на мм, мм:"), def: 50, min: 0.01, max: 1000 },
        delayMs("camera2Delay", QT_TR_NOOP("Задержка перед снимком камеры корректировки, мс:"), 500),
        threshold("camera2Treshold1", QT_TR_NOOP("Порог распознавания компонента 1:"), 180),
        threshold("camera2Treshold2", QT_TR_NOOP("Порог распознавания компонента 2:"), 50),
        { name: "camera2CheckSize", label: QT_TR_NOOP("Проверка размера компонента (0 — нет, 1 — сторона B, 2 — сторона A, 3 — обе):"), def: 1, min: 0, max: 3, whole: true },
        flag("camera2AutoShow", QT_TR_NOOP("Показывать камеру корректировки при центрировании компонента"), true),
        { name: "camera2MaxElementSize", label: QT_TR_NOOP("Наибольший компонент для камеры корректировки, мм:"), def: 5, min: 0.01, max: 1000 },
        { name: "pcbCorrX", label: QT_TR_NOOP("Поправка установки по X, мм:"), def: 0, min: -50, max: 50 },
        { name: "pcbCorrY", label: QT_TR_NOOP("Поправка установки по Y, мм:"), def: 0, min: -50, max: 50 },
    ] },
    { caption: QT_TR_NOOP("G-код"), keys: [
        gcode("startingGcode", QT_TR_NOOP("В начале работы:")),
        gcode("endingGcode", QT_TR_NOOP("В конце работы:")),
        gcode("basketGcode", QT_TR_NOOP("Сброс в корзину:")),
        gcode("tapeChangeGCode", QT_TR_NOOP("Кончились компоненты:")),
        gcode("preCameraGcode", QT_TR_NOOP("Перед камерой корректировки:")),
        gcode("postCameraGcode", QT_TR_NOOP("После камеры корректировки:")),
        gcode("preCameraGcode3", QT_TR_NOOP("Перед третьей камерой:")),
        gcode("postCameraGcode3", QT_TR_NOOP("После третьей камеры:")),
        gcode("calibGcode", QT_TR_NOOP("К первому калибровочному знаку:")),
        gcode("calib2Gcode", QT_TR_NOOP("Ко второму калибровочному знаку:")),
        gcode("afterCalibGcode", QT_TR_NOOP("После калибровки:")),
    ] },
    { caption: QT_TR_NOOP("Питатели"), keys: [
        flag("feederEnabledL", QT_TR_NOOP("Банк питателей слева"), false),
        flag("feederEnabledR", QT_TR_NOOP("Банк питателей справа"), false),
        flag("feederEnabledU", QT_TR_NOOP("Банк питателей сверху"), true),
        flag("feederEnabledB", QT_TR_NOOP("Банк питателей снизу"), true),
        { name: "vacuumDelay", label: QT_TR_NOOP("Задержка после включения и выключения вакуума, с:"), def: 0, min: 0, max: 60 },
        flag("autoSwithToSimilarFeeders", QT_TR_NOOP("При ошибках переключаться на равноценный питатель"), false),
        flag("autoSwithToSimilarFeedersWhenPlacerEmpty", QT_TR_NOOP("Переключаться на равноценный питатель, когда россыпь пуста"), false),
        flag("dontStopProgramOnFeederErrors", QT_TR_NOOP("Не останавливать работу при ошибках питателя (пропускать питатель)"), false),
    ] },
    { caption: QT_TR_NOOP("Дозатор"), keys: [
        { name: "d1XShift", label: QT_TR_NOOP("Смещение дозатора 1 по X, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "d1YShift", label: QT_TR_NOOP("Смещение дозатора 1 по Y, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "d2XShift", label: QT_TR_NOOP("Смещение дозатора 2 по X, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "d2YShift", label: QT_TR_NOOP("Смещение дозатора 2 по Y, мм:"), def: 0, min: -1000, max: 1000 },
        { name: "d1Color", label: QT_TR_NOOP("Цвет точек дозатора 1:"), def: "#2e69ff", color: true },
        { name: "d2Color", label: QT_TR_NOOP("Цвет точек дозатора 2:"), def: "#2eff7d", color: true },
    ] },
    { caption: QT_TR_NOOP("Работа программы"), keys: [
        flag("linuxCncAutoStart", QT_TR_NOOP("Запускать LinuxCNC при старте программы"), true),
        { name: "iniFile", label: QT_TR_NOOP("Файл конфигурации LinuxCNC:"), def: "" },
        flag("executionAutoShow", QT_TR_NOOP("Открывать прямое управление при запуске LinuxCNC"), true),
        flag("progAutoRestart", QT_TR_NOOP("Повторять программу расстановки автоматически"), false),
    ] },
]

// Machine settings edited in windows of their own, never here: the cameras'
// devices, modes and lens data, the camera windows' view, the field,
// encoder, nozzle base, camera and tape auto-calibrations, the instruments,
// the password and the project's feeder files; maxVel and maxAcc come from
// the LinuxCNC configuration.
var ownedElsewhere = [
    "camera1Name", "camera2Name", "camera1Mode", "camera2Mode", "camera1Exposure", "camera2Exposure",
    "cameraMJPG", "cameraHighRes", "camera1CameraMatrix", "camera1DistCoeffs", "camera2CameraMatrix",
    "camera2DistCoeffs", "camera1CalibrationEnabled", "camera2CalibrationEnabled",
    "camera1ViewType", "camera1ShowPercent", "camera2ViewType", "camera2ShowPercent", "camera1Cross", "camera2Cross",
    "fieldCalibCountX", "fieldCalibCountY", "fieldCalibrationEnabled", "fieldCalibStartX", "fieldCalibStartY",
    "fieldCalibStepX", "fieldCalibStepY",
    "encXEnabled", "encYEnabled", "encZEnabled", "encStepperMaxDivEnabled", "maxDivX", "maxDivY", "maxDivZ",
    "encCalibSize", "encAutoCalibSizeX", "encAutoCalibSizeY",
    "cupBaseType", "vcCount", "vcdY", "vcX2", "vcZBottom",
    "cameraACCamera1T1", "cameraACCamera2T1", "cameraACElThickness", "cameraACGetX", "cameraACGetY",
    "cameraACGetZ", "cameraACObj", "cameraACVC", "bandACCamera1Y1", "bandACCamera1Y2",
    "rlcEnabled", "rlcPort", "rlcX", "rlcY", "rlcZ",
    "vsEnabled", "vsFileName", "vsControlType", "blowDelay",
    "programmerA", "programmerEnabled", "programmerInterface", "programmerScriptPath", "programmerWait",
    "programmerX", "programmerY", "programmerZ",
    "password", "feederFileB", "feederFileL", "feederFileR", "feederFileU", "maxVel", "maxAcc"
]

// Machine settings kept in the store for older files that nothing in the
// program acts on: shown nowhere, written back as they were read.
var unused = [
    "allowBoardOut", "calibHeight", "camera1Delay2", "camera1ElOpacity", "camera1Height", "camera2Angle",
    "d1CalibGCode", "d1CalibPointX", "d1CalibPointY", "d1CalibSize", "d1CalibThreshold1", "zAutoFindMinHeight"
]

// Every key shown, in order.
function keys() {
    var r = []
    for (var g = 0; g < groups.length; ++g)
        for (var i = 0; i < groups[g].keys.length; ++i)
            r.push(groups[g].keys[i])
    return r
}

// The entry of key `name`, or null.
function entry(name) {
    var all = keys()
    for (var i = 0; i < all.length; ++i)
        if (all[i].name === name)
            return all[i]
    return null
}

// The editor of a key: "bool" (check box), "number" (number field), "line"
// (one-line text) or "text" (several lines of G-code).
function kind(e) {
    if (typeof e.def === "boolean")
        return "bool"
    if (typeof e.def === "number")
        return "number"
    return e.multiline === true ? "text" : "line"
}

// The text a number field shows for a value.
function shown(e, value) {
    if (kind(e) === "number") {
        var n = Number(value)
        return isFinite(n) ? String(n) : ""
    }
    return value === undefined || value === null ? "" : String(value)
}

function tr(text) { return qsTr(text) }

// The label of a key without its trailing colon, for messages.
function name(e) {
    return tr(e.label).replace(/:\s*$/, "")
}

// Parses what the engineer entered for key `e` (text for numbers and text
// keys, a boolean for check boxes). Returns { ok, value } or { ok: false,
// message } with a message naming the setting.
function parse(e, input) {
    var k = kind(e)
    if (k === "bool")
        return { ok: true, value: input === true }
    if (k !== "number") {
        var s = input === undefined || input === null ? "" : String(input)
        if (e.color === true && !/^#[0-9a-fA-F]{6}$/.test(s.trim()))
            return { ok: false, message: qsTr("«%1»: нужен цвет вида #RRGGBB").replace("%1", name(e)) }
        return { ok: true, value: e.color === true ? s.trim() : s }
    }
    var text = String(input === undefined || input === null ? "" : input).trim().replace(",", ".")
    var n = Number(text)
    if (text === "" || !/^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$/.test(text) || !isFinite(n))
        return { ok: false, message: qsTr("«%1»: введите число").replace("%1", name(e)) }
    if (e.whole === true && Math.floor(n) !== n)
        return { ok: false, message: qsTr("«%1»: нужно целое число").replace("%1", name(e)) }
    if ((e.min !== undefined && n < e.min) || (e.max !== undefined && n > e.max))
        return { ok: false, message: qsTr("«%1»: допустимо от %2 до %3").replace("%1", name(e))
                                       .replace("%2", String(e.min)).replace("%3", String(e.max)) }
    return { ok: true, value: n }
}

// Checks every edit ({ name: input }). Returns { ok, values, errors }:
// values the parsed value of every edit, errors { name: message } of every
// refused one; ok only when none is refused. A name that is not shown here
// is refused too.
function parseAll(edits) {
    var values = {}
    var errors = {}
    var ok = true
    for (var key in edits) {
        var e = entry(key)
        var r = e ? parse(e, edits[key]) : { ok: false, message: key }
        if (r.ok) {
            values[key] = r.value
        } else {
            errors[key] = r.message
            ok = false
        }
    }
    return { ok: ok, values: values, errors: errors }
}
