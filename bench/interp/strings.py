s = ""
for _ in range(100):
    s = ""
    for i in range(5000):
        s = s + "a"
print(len(s))
