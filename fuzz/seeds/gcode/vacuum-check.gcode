m64 p0 
m65 p1 
g4 p2.0 
(vsMeasureBeforeGet) 
m64 p1 
g4 p1 
