.pragma library
// Coordinates in G-code text and on screen: every number goes through one
// helper, so that a value that is not a finite number never reaches the
// machine as "NaN" or "Infinity".

// `value` with `decimals` digits after the point, or null when the value is
// not a finite number (undefined, null, text that is not a number, NaN,
// infinities). Booleans are refused too: false means "omitted" in the
// machine functions and must not turn into 0.
function fixed(value, decimals) {
    if (value === null || value === undefined || typeof value === "boolean")
        return null
    if (typeof value === "string" && value.trim() === "")
        return null
    var n = Number(value)
    if (!isFinite(n))
        return null
    var text = n.toFixed(decimals)
    // -0.001 to two decimals is "-0.00": the machine gets "0.00".
    if (Number(text) === 0 && text.charAt(0) === "-")
        text = text.substring(1)
    return text
}
