import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/job/panels.js" as Panels

// The operator panels: every declared panel has its text, its buttons and a
// main button among them; the values go into the texts with the decimals
// the texts ask for.
TestCase {
    name: "Panels"

    function test_everyPanel_data() {
        return Panels.NAMES.map(function(n) { return { tag: n, name: n } })
    }
    function test_everyPanel(data) {
        var p = Panels.make(data.name, {})
        verify(p !== null)
        compare(p.name, data.name)
        verify(p.buttons.length > 0)
        var ids = p.buttons.map(function(b) { return b.id })
        compare(ids.filter(function(id, i) { return ids.indexOf(id) !== i }), [])    // no id twice
        if (p.duringPause) {
            compare(p.main, "")
        } else {
            verify(ids.indexOf(p.main) >= 0)
            verify(!Panels.buttonOf(p, p.main).keep)            // the main button goes on
            verify(p.text.length > 20)
        }
    }

    function test_unknownPanel() {
        compare(Panels.make("coffeeBreak", {}), null)
    }

    function test_texts_data() {
        return [
            { tag: "centring offset, 2 decimals", name: "centeringOffset", values: { x: 0.126, y: -0.3 },
              text: "Среднее смещение компонента при взятии по X: 0.13мм  по Y: -0.30.\nВозможно центр взятия компонента задан неправильно.\nИсправить центр взятия компонента? " },
            { tag: "vacuum, absolute", name: "vacuumError",
              values: { control: "absolute", measured: 12.34, threshold: 20 },
              begins: "Датчик разрежения сообщает об отсутствии компонента! Измеренное разрежение: 12.3 кПа, минимально допустимое разрежение: 20.0 кПа. Если в питателе закончились компоненты" },
            { tag: "vacuum, no nozzle on the head", name: "vacuumError",
              values: { control: "absolute", nozzle: false, measured: 1, threshold: 2 }, text: "" },
            { tag: "clogging, relative", name: "nozzleClogging",
              values: { control: "relative", before: 1, after: 2, difference: 1, threshold: 4 },
              begins: "Датчик разрежения сообщает о засоренности насадки! Измеренное разрежение до открытия пневмоклапана: 1.0 кПа, после открытия: 2.0 кПа. Разница:1.0 кПа. Минимально допустимая разница: 4.0кПа. Проверьте" },
            { tag: "pin distance, pin count right", name: "pinDistance",
              values: { pinCountRight: true, maximum: 10, measured: 12.25 },
              begins: "Ошибка алгоритма распознавания выводов! Максимально допустимое отклонение расстояния между выводами равно 10.0%, измеренное отклонение равно 12.3%. Чтобы отбраковать" },
            { tag: "RLC, out of range", name: "rlcError",
              values: { range: "Результат измерения: 1.2 kΩ, Минимально допустимое значение: 0.95 kΩ" },
              begins: "Номинал компонента не соответствует заявленному. Результат измерения: 1.2 kΩ, Минимально допустимое значение: 0.95 kΩ Чтобы взять следующий элемент" },
            { tag: "programmer error code", name: "programmerError", values: { code: " Код: 7." },
              begins: "Программатор выдал сообщение об ошибке при попытке программирования. Код: 7. Выберите дальнейшее действие." },
        ]
    }
    function test_texts(data) {
        var p = Panels.make(data.name, data.values)
        if (data.text !== undefined)
            compare(p.text, data.text)
        else
            compare(p.text.substr(0, data.begins.length), data.begins)
    }

    // A mark with settings of its own offers no common settings.
    function test_commonSettingsOfAMark() {
        verify(Panels.buttonOf(Panels.make("refNotFound", {}), "commonSettings").enabled)
        verify(!Panels.buttonOf(Panels.make("refNotFound", { ownSettings: true }), "commonSettings").enabled)
    }
}
