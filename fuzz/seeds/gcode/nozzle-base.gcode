(setLowErrorLimit)
g0 znozzle2.5
g1 f1500 z--3
(restoreErrorLimit)
g0 x++0 y++0 z--0 a++0
