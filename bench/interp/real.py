import math

s = 0.0
for i in range(2000000):
    s = s + math.sin(i * 0.001)
print("%.6f" % s)
