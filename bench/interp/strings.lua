local s = ""
for _ = 1, 100 do
  s = ""
  for i = 0, 5000 - 1 do s = s .. "a" end
end
print(#s)
