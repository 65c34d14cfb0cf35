local s = 0.0
for i = 0, 2000000 - 1 do
  s = s + math.sin(i * 0.001)
end
print(string.format("%.6f", s))
