.pragma library

// Every coordinate that goes into G-code text is formatted here. A value that
// is not a finite number (NaN, Infinity, a string that does not parse) gives
// null instead of text: the caller must not send anything then, because the
// machine link would skip the broken word and run the rest of the line.

// `value` with `decimals` decimals, or null when it is not a finite number.
function fixed(value, decimals) {
    if (value === null || value === undefined || value === "" || typeof value === "boolean")
        return null
    var n = Number(value)
    if (!isFinite(n))
        return null
    var text = n.toFixed(decimals)
    // -0.000 is written as 0.000
    if (Number(text) === 0 && text.charAt(0) === "-")
        text = text.substring(1)
    return text
}

// "G0" with " X", " Y", " Z", " A" and the value (3 decimals) of every given
// coordinate; `false` omits an axis. Returns {text, error}: text is "" when
// every axis is omitted, null when a given coordinate is not finite (error
// then names the axis).
function moveText(x, y, z, a) {
    var axes = [["X", x], ["Y", y], ["Z", z], ["A", a]]
    var text = "G0"
    var any = false
    for (var i = 0; i < axes.length; ++i) {
        if (axes[i][1] === false || axes[i][1] === undefined)
            continue
        var v = fixed(axes[i][1], 3)
        if (v === null)
            return { "text": null, "error": axes[i][0] }
        text += " " + axes[i][0] + v
        any = true
    }
    return { "text": any ? text : "", "error": "" }
}

// True when every given coordinate (not false) lies within `tolerance` of the
// position {x, y, z, a}.
function near(pos, x, y, z, a, tolerance) {
    var wanted = [x, y, z, a]
    var have = [pos.x, pos.y, pos.z, pos.a]
    for (var i = 0; i < 4; ++i) {
        if (wanted[i] === false || wanted[i] === undefined)
            continue
        var w = Number(wanted[i])
        if (!isFinite(w) || !(Math.abs(Number(have[i]) - w) <= tolerance))
            return false
    }
    return true
}
