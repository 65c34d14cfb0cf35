local composite = {}
local primes = 0
for _ = 1, 200 do
  for i = 0, 10000 - 1 do composite[i] = false end
  primes = 0
  for i = 2, 10000 - 1 do
    if not composite[i] then
      primes = primes + 1
      for j = i * i, 10000 - 1, i do composite[j] = true end
    end
  end
end
print(primes)
