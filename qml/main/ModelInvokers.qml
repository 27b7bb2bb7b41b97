import QtQuick 2.15
import "project"
import "lib/models.js" as Models

// The invoker items through which the back end reads and fills the list
// models of the main window; it finds each by its objectName and calls its
// functions by name.
Item {
    id: invokers
    property var app

    property alias feedersInvoker: feedersInvoker
    property alias projectDayStatisticsMInvoker: projectDayStatisticsMInvoker
    property alias fieldCalibListInvoker: fieldCalibListInvoker

    // Vacuum nozzles.
    Item {
        id: cupInvoker
        objectName: "cupInvoker"
        function append(map) { app.cupModel.append(map) }
        function getCount() { return app.cupModel.count }
        function getAll() { return Models.copyAll(app.cupModel) }
        function getOne(n) { return Models.copyEntry(app.cupModel, n) }
        // The record of nozzle n counted from 1 (0 = no nozzle).
        function getOne2(n) { return n >= 1 && n <= app.cupModel.count ? getOne(n - 1) : null }
    }
    // Tape feeder banks.
    Item {
        id: bandBankInvoker
        objectName: "bandBankInvoker"
        function append(map) { app.bandBankModel.append(map) }
        function getAll() { return Models.copyAll(app.bandBankModel) }
        function getOne(n) { return Models.copyEntry(app.bandBankModel, n) }
    }
    // Vibration feeder banks.
    Item {
        id: vibroBankInvoker
        objectName: "vibroBankInvoker"
        function append(map) { app.vibroBankModel.append(map) }
        function getAll() { return Models.copyAll(app.vibroBankModel) }
        function getOne(n) { return Models.copyEntry(app.vibroBankModel, n) }
    }
    // Free board positions of a panel: {x, y, rot}.
    Item {
        id: pcbMultiNonstandartInvoker
        objectName: "pcbMultiNonstandartInvoker"
        function clear() { app.pcbMultiNonstandartModel.clear() }
        function append(map) {
            app.pcbMultiNonstandartModel.append({ "x": Number(map.x), "y": Number(map.y), "rot": Number(map.rot) })
        }
        function getCount() { return app.pcbMultiNonstandartModel.count }
        function getAll() { return Models.copyAll(app.pcbMultiNonstandartModel) }
    }
    // The four feeder banks.
    FeedersInvoker { id: feedersInvoker; app: invokers.app }
    // The project log.
    Item {
        id: projectLogInvoker
        objectName: "projectLogInvoker"
        function getCount() { return app.projectLogModel.count }
        function getTime(i) { return app.projectLogModel.get(i).time }
        function getColor(i) { return app.projectLogModel.get(i).color }
        function getMessage(i) { return app.projectLogModel.get(i).message }
        // Every entry in its stored form "message;time;color", oldest first.
        function getAllLines() {
            var lines = []
            for (var i = 0; i < app.projectLogModel.count; ++i) {
                var e = app.projectLogModel.get(i)
                lines.push(e.message + ";" + e.time + ";" + e.color)
            }
            return lines
        }
        function append(map) {
            app.projectLogModel.append({ "message": String(map.message), "time": String(map.time),
                                         "color": String(map.color) })
        }
        // Many entries at once (opening a project).
        function appendAll(list) {
            var entries = []
            for (var i = 0; i < list.length; ++i)
                entries.push({ "message": String(list[i].message), "time": String(list[i].time),
                               "color": String(list[i].color) })
            app.projectLogModel.append(entries)
        }
    }
    // Day statistics, newest day first.
    Item {
        id: projectDayStatisticsMInvoker
        objectName: "projectDayStatisticsMInvoker"
        function getCount() { return app.projectDayStatisticsM.count }
        function getDate(i) { return app.projectDayStatisticsM.get(i).date }
        // The stored form: "dd.MM.yyyy;boards;components;solder points;rejects;seconds|" per day.
        function get() {
            var text = ""
            for (var i = 0; i < app.projectDayStatisticsM.count; ++i) {
                var d = app.projectDayStatisticsM.get(i)
                text += Qt.formatDate(d.date, "dd.MM.yyyy") + ";" + d.pcbCount + ";" + d.elementCount + ";"
                        + d.solderPointCount + ";" + d.basketCount + ";" + d.mountTime + "|"
            }
            return text
        }
        function append(map) { app.projectDayStatisticsM.append(map) }
    }
    // Points of the work-field calibration: {rX, rY, nX, nY}, row by row.
    Item {
        id: fieldCalibListInvoker
        objectName: "fieldCalibListInvoker"
        function clear() { app.fieldCalibList.clear() }
        function append(map) {
            app.fieldCalibList.append({ "rX": Number(map.rX), "rY": Number(map.rY), "nX": Number(map.nX),
                                        "nY": Number(map.nY) })
        }
        function getCount() { return app.fieldCalibList.count }
        function getAll() { return Models.copyAll(app.fieldCalibList) }
    }
    // The package base.
    Item {
        id: packageInvoker
        objectName: "packageInvoker"
        function append(map) { app.packageList.append(map) }
        function getAll() { return Models.copyAll(app.packageList) }
        function getOne(n) { return Models.copyEntry(app.packageList, n) }
    }
}
