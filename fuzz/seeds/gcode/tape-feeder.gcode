G0 X12,5 Y40 (feeder 3)
g1 f2400  acc300 b++4
b++4
g0 x+20. y5,
