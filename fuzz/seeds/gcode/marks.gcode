m65 p4
g0 zMax
g0 XCalib YCalib
g0 zMax
G0 X215.000 Y143.500
g0 x++0.125 y--0.040
g0 zMax
