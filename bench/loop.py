# The loop benchmark for Python 3: the same work per iteration as loop.mva.
import sys


def work(x):
    return None


def main(n):
    a = [0] * 100
    s = ""
    i = 0
    while i < n:
        t = i * 3 + 1.0
        k = i % 100
        a[k] = k
        k = a[k]
        if k == 0:
            s = ""
        s = s + "x"
        work(i)
        i = i + 1


main(int(sys.argv[1]) if len(sys.argv) > 1 else 300000)
