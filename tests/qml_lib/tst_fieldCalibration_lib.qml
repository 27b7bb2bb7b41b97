import QtQuick 2.15
import QtTest 1.2
import "../../qml/main/lib/fieldCalibration.js" as Field

// The geometry of the work-field calibration procedure: the corrected rows
// and the grid handed to the back end.
TestCase {
    name: "FieldCalibrationLibrary"

    // fuzzyCompare() compares in single precision: too coarse here.
    function near(actual, expected, eps, what) {
        verify(Math.abs(actual - expected) <= eps, what + ": " + actual + " instead of " + expected)
    }

    // A row turned by 0.5 degrees, shifted and stretched by 0.1 %: the
    // corrected points follow the end marks exactly.
    function test_correctedRow() {
        var pts = Field.rowPoints(10, 20, 25, 30, 5, 1)
        compare(pts.length, 5)
        compare(pts[4], { "x": 110, "y": 50 })
        var a = 0.5 * Math.PI / 180, k = 1.001
        function truth(p) {
            var dx = p.x - 10, dy = p.y - 50
            return { "x": 10.2 + k * (dx * Math.cos(a) - dy * Math.sin(a)),
                     "y": 49.9 + k * (dx * Math.sin(a) + dy * Math.cos(a)) }
        }
        var out = Field.correctedRow(pts, truth(pts[0]), truth(pts[4]))
        for (var i = 0; i < 5; ++i) {
            near(out[i].x, truth(pts[i]).x, 1e-9, "x" + i)
            near(out[i].y, truth(pts[i]).y, 1e-9, "y" + i)
        }
    }

    function test_averagesAndGrid() {
        var avg = Field.averageOffsets([{ "col": 0, "dx": 0.1, "dy": 0 },
                                        { "col": 0, "dx": 0.3, "dy": -0.2 },
                                        { "col": 1, "dx": -0.05, "dy": 0.05 },
                                        { "col": 7, "dx": 9, "dy": 9 }], 3)
        near(avg[0].x, 0.2, 1e-12, "first column x")
        near(avg[0].y, -0.1, 1e-12, "first column y")
        compare(avg[1].x, -0.05)
        compare(avg[2].x, 0)
        var list = Field.gridList([10, 30, 50], avg, 5, 400, 1, 2)
        compare(list.length, 3 * Field.gridRows())
        // First row at 10 mm before the origin, last at 320 mm after it.
        compare([list[0].rX, list[0].rY], [14, 408])
        near(list[0].nX, 14.2, 1e-12, "first found x")
        compare([list[list.length - 1].rX, list[list.length - 1].rY], [54, 78])
    }
}
