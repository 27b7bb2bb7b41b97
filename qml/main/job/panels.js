.pragma library

// The operator panels of a run. A step that cannot go on by itself raises
// exactly one panel (through the port's showPanel(name, values, onButton))
// and returns; the run waits until the operator presses one of its buttons.
//
// make(name, values) builds the panel to show:
//   { name, text, buttons: [{ id, text, keep, enabled, action }], main, duringPause }
// or null for a name that is not declared here.
//   id        what the raising step's onButton(id) receives
//   keep      the panel stays shown after the button (windows opened beside it)
//   action    "moveAway": handled by the run itself (the head moves off the
//             feeder with the tape-change G-code) and not passed on
//   main      id of the button the machine's start key presses ("" none)
//   duringPause  shown while the run is paused; not a panel that stops the run
//
// Values are printed with 1 decimal unless the panel says otherwise.

function number(v, decimals) {
    var n = Number(v)
    return isFinite(n) ? n.toFixed(decimals === undefined ? 1 : decimals) : "—"
}

function button(id, text, keep, action) {
    return { "id": id, "text": text, "keep": keep === true, "enabled": true, "action": action || "" }
}
function continueButton() { return button("continue", qsTr("Продолжить")) }
function skipButton() { return button("skip", qsTr("Пропустить")) }
function feederSettingsButton() { return button("feederSettings", qsTr("Настройки питателя"), true) }
function moveAwayButton() { return button("moveAway", qsTr("Отъехать"), true, "moveAway") }
function sensorSettingsButton() { return button("sensorSettings", qsTr("Настройка датчика"), true) }
function recognitionRetryButton() { return button("retryRecognition", qsTr("Повторить распознавание")) }

// ---- texts

function tapeChangeText() {
    return qsTr("Произведите смену ленты (поддона, пенала, пополните россыпь) и нажмите кнопку \"Продолжить\", либо нажмите кнопку \"Пропустить\" чтобы пропустить этот питатель и перейти к следующему. Также, можно изменить настройки питателя, нажав соответствующую кнопку.")
}

function refNotFoundText() {
    return qsTr("Не удалось найти реперный знак! Если реперный знак оказался за границей области поиска, подведите к нему камеру с помощью \"Ручного управления\" и нажмите кнопку \"Повторить поиск\". Если реперный знак не виден по причине неверных настроек распознавания, измените настройки поиска реперных знаков и нажмите \"Повторить поиск\". Если программа не может распознать реперный знак из-за того, что он поврежден, нужно с помощью \"Ручного управления\" навести перекрестие камеры на реперный знак и нажать кнопку \"Указать перекрестием\".")
}

function notRecognisedText() {
    return qsTr("Не удалось распознать компонент! Если компонент взят, но не распознается камерой, нажмите кнопку \"Настройки питателя\" и произведите соотвествующие настройки. Затем нажмите \"Продолжить\". Если компонент не взят, нажмите кнопку \"Продолжить\", чтобы взять следующий компонент, либо нажмите кнопку \"Пропустить\" чтобы пропустить этот питатель и перейти к следующему. При нажатии кнопки \"Отъехать\" будет исполнена команда \"Кончились компоненты\". Эта кнопка бывает нужна, когда голова мешает провести манипуляции с питателем.")
}

function notRecognisedAfterFlipText() {
    return qsTr("Не удалось распознать компонент после переворота! Если компонент был некорректно перевернут или камера была подведена в некорректную точку после распознавания, и требуется изменить G-код переворота, нажмите кнопку \"Пропустить\" или \"Остановить\". Для повторной попытки распознавания, нажмите кнопку \"Повторить распознавание\". Если вы очистили площадку от нераспознанного после переворота компонента и хотите продолжить работу с питателем, нажмите кнопку \"Продолжить\".")
}

function flipFailuresText() {
    return qsTr("Несколько неудачных попыток переворота компонента подряд! Если компонент был некорректно перевернут или камера была подведена в некорректную точку после распознавания, и требуется изменить G-код переворота, нажмите кнопку \"Пропустить\" или \"Остановить\". Для повторной попытки распознавания, нажмите кнопку \"Повторить распознавание\". Если вы очистили площадку для переворота от компонента и хотите продолжить работу с питателем, нажмите кнопку \"Продолжить\".")
}

// values: x, y (mean pick offsets, mm, 2 decimals)
function centeringOffsetText(v) {
    return qsTr("Среднее смещение компонента при взятии по X: ") + number(v.x, 2) + qsTr("мм  по Y: ")
            + number(v.y, 2) + qsTr(".\nВозможно центр взятия компонента задан неправильно.\nИсправить центр взятия компонента? ")
}

// values: pinCountRight, maximum, measured (per cent)
function pinDistanceText(v) {
    var measured = v.pinCountRight === true
            ? qsTr("Максимально допустимое отклонение расстояния между выводами равно ") + number(v.maximum)
              + qsTr("%, измеренное отклонение равно ") + number(v.measured) + "%."
            : ""
    return qsTr("Ошибка алгоритма распознавания выводов! ") + measured
            + qsTr(" Чтобы отбраковать взятый компонент и продолжить работу, нажмите кнопку \"Сброс в корзину\". При этом взятый компонент будет сброшен в корзину. Чтобы изменить настройки алгоритма центририрования или алгоритма распознавания выводов, нажмите кнопку \"Настройки питателя\" и произведите соотвествующие настройки. Затем нажмите \"Продолжить\" и программа снова попробует отцентрировать взятый компонент.")
}

// values: control ("absolute", "relative" or "failure"), nozzle (false: no
// nozzle on the head, no text), measured, threshold, before, after,
// difference, message (sensor failure)
function vacuumErrorText(v) {
    if (v.control === "failure")
        return qsTr("Ошибка связи с датчиком разрежения! ") + String(v.message === undefined ? "" : v.message)
    if (v.nozzle === false)
        return ""
    var tail = qsTr(" Если в питателе закончились компоненты, пополните питатель и нажмите кнопку \"Продолжить\", либо нажмите кнопку \"Пропустить\" чтобы пропустить этот питатель и перейти к следующему. При нажатии кнопки \"Отъехать\" будет исполнена команда \"Кончились компоненты\". Если требуется откорректировать настройки датчика разрежения, нажмите кнопку \"Настройка датчика\".")
    if (v.control === "relative")
        return qsTr("Датчик разрежения сообщает об отсутствии компонента! Измеренное разрежение до взятия: ")
                + number(v.before) + qsTr(" кПа, после взятия: ") + number(v.after) + qsTr(" кПа. Разница:")
                + number(v.difference) + qsTr(" кПа. Максимально допустимая разница: ") + number(v.threshold)
                + qsTr("кПа.") + tail
    return qsTr("Датчик разрежения сообщает об отсутствии компонента! Измеренное разрежение: ") + number(v.measured)
            + qsTr(" кПа, минимально допустимое разрежение: ") + number(v.threshold) + qsTr(" кПа.") + tail
}

// values: control ("absolute", "relative" or "failure"), measured,
// threshold, before, after, difference, message (sensor failure)
function nozzleCloggingText(v) {
    if (v.control === "failure")
        return qsTr("Ошибка связи с датчиком разрежения! ") + String(v.message === undefined ? "" : v.message)
    var tail = qsTr(" Проверьте забитость насадки, аккуратно ее сняв. После проверки, и возможной прочистки, УСТАНОВИТЕ НАСАДКУ ОБРАТНО НА ГОЛОВУ и нажмите кнопку \"Продолжить\", чтобы измерить разрежение повторно. Если требуется откорректировать настройки датчика разрежения и проверки забитости насадки, нажмите кнопку \"Настройка датчика\".")
    if (v.control === "relative")
        return qsTr("Датчик разрежения сообщает о засоренности насадки! Измеренное разрежение до открытия пневмоклапана: ")
                + number(v.before) + qsTr(" кПа, после открытия: ") + number(v.after) + qsTr(" кПа. Разница:")
                + number(v.difference) + qsTr(" кПа. Минимально допустимая разница: ") + number(v.threshold)
                + qsTr("кПа.") + tail
    return qsTr("Датчик разрежения сообщает о засоренности насадки! Измеренное разрежение: ") + number(v.measured)
            + qsTr(" кПа, минимально допустимое разрежение: ") + number(v.threshold) + qsTr(" кПа.") + tail
}

// values: range (the measured range text) or error (the meter's start,
// setup or measure error text)
function rlcErrorText(v) {
    var head = v.error !== undefined && String(v.error) !== ""
            ? String(v.error)
            : qsTr("Номинал компонента не соответствует заявленному. ") + String(v.range === undefined ? "" : v.range)
    return head + qsTr(" Чтобы взять следующий элемент из питателя, нажмите кнопку \"Продолжить\", либо нажмите кнопку \"Пропустить\" чтобы пропустить этот питатель и перейти к следующему. Если требуется повторить измерение номинала, нажмите кнопку \"Повторить измерение\". Если требуется настроить измерение номинала для данного питателя, нажмите кнопку \"Настроить измерение номинала\". Если требуется изменить настройки измерителя RLC, нажмите кнопку \"Настройка измерителя RLC\".")
}

// values: code (the programmer's error code)
function programmerErrorText(v) {
    return qsTr("Программатор выдал сообщение об ошибке при попытке программирования.")
            + String(v.code === undefined ? "" : v.code)
            + qsTr(" Выберите дальнейшее действие. При нажатии кнопки \"Повторить попытку\", будет повторно отправлен сигнал на програмиирование. При нажатии кнопки \"Сбросить в корзину\", компонент будет сброшен в корзину, после чего будет взят следующий компонент и произведена попытка програмирования. При нажатии кнопки \"Пропуситить\", питатель будет пропущен, и программа перейдет к следующему.")
}

function programmerTimeoutText() {
    return qsTr("Превышен период ожидания ответа от программатора. Выберите дальнейшее действие. При нажатии кнопки \"Повторить попытку\", будет повторно отправлен сигнал на програмиирование. При нажатии кнопки \"Пропуситить\", питатель будет пропущен, и программа перейдет к следующему.")
}

function pauseOverCameraText() {
    return qsTr("Во время паузы над камерой можно откорректировать индивидуальные настройки распознавания компонента.")
}

// ---- the panels

var NAMES = ["tapeChange", "refNotFound", "notRecognised", "notRecognisedAfterFlip", "flipFailures",
             "centeringOffset", "vacuumError", "rlcError", "programmerError", "programmerTimeout",
             "nozzleClogging", "pinDistance", "pauseOverCamera"]

function declare(name, v) {
    switch (name) {
    case "tapeChange":
        return { "text": tapeChangeText(), "main": "continue",
                 "buttons": [continueButton(), skipButton(), feederSettingsButton(), moveAwayButton()] }
    case "refNotFound": {
        var common = button("commonSettings", qsTr("Общие настройки"), true)
        // A mark with settings of its own is not searched with the common ones.
        common.enabled = v.ownSettings !== true
        return { "text": refNotFoundText(), "main": "retry",
                 "buttons": [button("retry", qsTr("        Повторить поиск")),
                             button("crossHair", qsTr("Указать перекрестием")), common,
                             button("ownSettings", qsTr("Индивидуальные настройки"), true)] }
    }
    case "notRecognised":
        return { "text": notRecognisedText(), "main": "continue",
                 "buttons": [continueButton(), skipButton(), feederSettingsButton(), moveAwayButton()] }
    case "notRecognisedAfterFlip":
        return { "text": notRecognisedAfterFlipText(), "main": "retryRecognition",
                 "buttons": [recognitionRetryButton(), continueButton(), skipButton()] }
    case "flipFailures":
        return { "text": flipFailuresText(), "main": "retryRecognition",
                 "buttons": [recognitionRetryButton(), continueButton(), skipButton()] }
    case "centeringOffset":
        return { "text": centeringOffsetText(v), "main": "yes",
                 "buttons": [button("yes", qsTr("Да")), button("no", qsTr("Нет"))] }
    case "vacuumError":
        return { "text": vacuumErrorText(v), "main": "continue",
                 "buttons": [continueButton(), skipButton(), feederSettingsButton(), moveAwayButton(),
                             sensorSettingsButton()] }
    case "rlcError":
        return { "text": rlcErrorText(v), "main": "continue",
                 "buttons": [continueButton(), skipButton(), button("remeasure", qsTr("Повторить измерение")),
                             button("rlcFeederSettings", qsTr("Настроить измерение"), true),
                             button("rlcSettings", qsTr("Настроить измеритель RLC"), true)] }
    case "programmerError":
        return { "text": programmerErrorText(v), "main": "retry",
                 "buttons": [button("retry", qsTr("Повторить попытку")),
                             button("basket", qsTr("Сбросить в корзину")), skipButton()] }
    case "programmerTimeout":
        return { "text": programmerTimeoutText(), "main": "retry",
                 "buttons": [button("retry", qsTr("Повторить попытку")),
                             button("basket", qsTr("Сбросить в корзину")), skipButton()] }
    case "nozzleClogging":
        return { "text": nozzleCloggingText(v), "main": "continue",
                 "buttons": [continueButton(), sensorSettingsButton()] }
    case "pinDistance":
        return { "text": pinDistanceText(v), "main": "continue",
                 "buttons": [continueButton(), button("basket", qsTr("Сброс в корзину")), feederSettingsButton()] }
    case "pauseOverCamera":
        return { "text": pauseOverCameraText(), "main": "", "duringPause": true,
                 "buttons": [button("recognitionSettings", qsTr("Индивидуальные настройки распознавания"), true)] }
    }
    return null
}

function make(name, values) {
    var p = declare(String(name), values || {})
    if (!p)
        return null
    p.name = String(name)
    p.duringPause = p.duringPause === true
    return p
}

// The button `id` of panel p, or null.
function buttonOf(p, id) {
    if (!p)
        return null
    for (var i = 0; i < p.buttons.length; ++i)
        if (p.buttons[i].id === id)
            return p.buttons[i]
    return null
}
