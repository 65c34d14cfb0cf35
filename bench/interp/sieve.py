composite = [False] * 10000
primes = 0
for _ in range(200):
    for i in range(10000):
        composite[i] = False
    primes = 0
    for i in range(2, 10000):
        if not composite[i]:
            primes += 1
            for j in range(i * i, 10000, i):
                composite[j] = True
print(primes)
