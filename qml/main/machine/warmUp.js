.pragma library
.import "../lib/coords.js" as Coords
.import "../job/gcodeTexts.js" as GCodeTexts
// The warm-up run before work: the head rises, crosses the work area along
// both diagonals and round its edge, turning the nozzle axis a full turn on
// every line, so that the mechanics and lubrication are even before the
// first board. The program keeps 1 mm inside the work-area limits.

// Lines of each figure are repeated this many times.
var repeats = 21

// The program text for the work area {x1, y1, x2, y2} with the set-up
// acceleration slowAcc (percent) and the machine maxima (see gcodeTexts.js);
// null when a limit or a maximum is not a number.
function program(area, slowAcc, maxVel, maxAcc) {
    if (!area)
        return null
    var zPrefix = GCodeTexts.zSpeed(100, slowAcc, maxVel, maxAcc)
    var xyPrefix = GCodeTexts.xySpeed(100, slowAcc, maxVel, maxAcc)
    var left = Coords.fixed(Number(area.x1) + 1, 2)
    var bottom = Coords.fixed(Number(area.y1) + 1, 2)
    var right = Coords.fixed(Number(area.x2) - 1, 2)
    var top = Coords.fixed(Number(area.y2) - 1, 2)
    if (zPrefix === null || xyPrefix === null || left === null || bottom === null || right === null
            || top === null)
        return null

    var lowerLeft = [left, bottom], upperRight = [right, top]
    var upperLeft = [left, top], lowerRight = [right, bottom]
    var figures = [
        [lowerLeft, upperRight],                        // main diagonal, back and forth
        [upperLeft, lowerRight],                        // the other diagonal
        [lowerLeft, lowerRight, upperRight, upperLeft], // round the edge
        [upperLeft, upperRight, lowerRight, lowerLeft], // round the edge the other way
        [lowerLeft, upperRight],
        [upperLeft, lowerRight],
    ]

    var lines = [
        zPrefix + " zMax",
        xyPrefix + " x" + left + " y" + bottom,
        xyPrefix + " x" + right + " y" + top,
    ]
    var turn = 0
    for (var f = 0; f < figures.length; ++f) {
        for (var r = 0; r < repeats; ++r) {
            var points = figures[f]
            for (var p = 0; p < points.length; ++p) {
                lines.push("g0 x" + points[p][0] + " y" + points[p][1] + (turn % 2 === 0 ? " a360" : " a000"))
                ++turn
            }
        }
    }
    return lines.join("\n")
}
