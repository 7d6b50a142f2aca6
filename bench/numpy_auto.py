#!/usr/bin/python3
"""The automatic run's 43 results computed by NumPy in double precision, for comparison.

Reads the same box files quillmark-cli reads, computes what each command shows (echo,
transpose, inverse, sum, difference, products, quotients, logic, max, min, norm, dimension,
trace, determinant, rank, power, LU without pivoting, QR, LDL', SVD, eigenvalues) and prints
every number rounded to the same number of decimals in a 10-character cell.  Prints the time
spent after start-up (imports and interpreter start excluded) on stderr as
"numpy-internal-ms <value>".
"""
import sys
import time

import numpy as np


def read_box(path):
    rows = [line.split() for line in open(path, encoding="utf-8").read().splitlines() if line]
    width = len(rows[-1]) if rows else 0
    m = np.zeros((len(rows), width))
    for i, row in enumerate(rows):
        m[i, : len(row)] = [float(v) for v in row]
    return m


def lu_nopivot(a):
    a = a.copy()
    n = a.shape[0]
    for k in range(n - 1):
        a[k + 1 :, k] /= a[k, k]
        a[k + 1 :, k + 1 :] -= np.outer(a[k + 1 :, k], a[k, k + 1 :])
    return np.tril(a, -1) + np.eye(n), np.triu(a)


def ldl(a):
    n = a.shape[0]
    sym = np.triu(a) + np.triu(a, 1).T
    lower = np.eye(n)
    d = np.zeros(n)
    for i in range(n):
        v = lower[i, :i] * d[:i]
        d[i] = sym[i, i] - lower[i, :i] @ v
        if i + 1 < n:
            lower[i + 1 :, i] = (sym[i + 1 :, i] - lower[i + 1 :, :i] @ v) / d[i]
    return lower, np.diag(d)


def main():
    a_path, b_path, x, decimals = sys.argv[1], sys.argv[2], float(sys.argv[3]), int(sys.argv[4])
    start = time.perf_counter()
    out = []

    def show(label, *blocks):
        out.append(label + "=")
        for block in blocks:
            block = np.atleast_2d(block)
            for row in np.round(block, decimals):
                out.append("".join(" %10s" % ("%.15g" % v) for v in row))
        out.append("")

    A, B = read_box(a_path), read_box(b_path)
    n = int(x)
    show("A", A)
    show("B", B)
    show("A+B", A + B)
    show("A'", A.T)
    show("B'", B.T)
    show("A-B", A - B)
    show("inv(A)", np.linalg.inv(A))
    show("inv(B)", np.linalg.inv(B))
    show("A*B", A @ B)
    show("Max(A)", A.max())
    show("Max(B)", B.max())
    show("A.*B", A * B)
    show("Min(A)", A.min())
    show("Min(B)", B.min())
    show("A/B", A @ np.linalg.inv(B))
    show("Norm(A)", np.linalg.norm(A, 2))
    show("Norm(B)", np.linalg.norm(B, 2))
    show("A./B", A / B)
    out.append("Dim(A)=\n\n       %d*%d\n" % A.shape)
    out.append("Dim(B)=\n\n       %d*%d\n" % B.shape)
    show("A&B", np.logical_and(A != 0, B != 0).astype(float))
    show("Trace(A)", np.trace(A))
    show("Trace(B)", np.trace(B))
    show("A|B", np.logical_or(A != 0, B != 0).astype(float))
    show("Det(A)", np.linalg.det(A))
    show("Det(B)", np.linalg.det(B))
    show("A#B", np.logical_xor(A != 0, B != 0).astype(float))
    show("Rank(A)", float(np.linalg.matrix_rank(A)))
    show("Rank(B)", float(np.linalg.matrix_rank(B)))
    show("A*x", A * x)
    show("Eig(A)", np.linalg.eigvals(A).real)
    show("Eig(B)", np.linalg.eigvals(B).real)
    show("B*x", B * x)
    show("QR(A)", *np.linalg.qr(A, mode="complete"))
    show("QR(B)", *np.linalg.qr(B, mode="complete"))
    show("A^(%d)" % n, np.linalg.matrix_power(A, n))
    show("LU(A)", *lu_nopivot(A))
    show("LU(B)", *lu_nopivot(B))
    show("B^(%d)" % n, np.linalg.matrix_power(B, n))
    show("Chol(A)", *ldl(A))
    show("Chol(B)", *ldl(B))
    u, s, vt = np.linalg.svd(A)
    show("Svd(A)", u, np.diag(s), vt)
    u, s, vt = np.linalg.svd(B)
    show("Svd(B)", u, np.diag(s), vt)
    sys.stdout.write("\n".join(out) + "\n")
    sys.stdout.flush()
    print("numpy-internal-ms %.3f" % ((time.perf_counter() - start) * 1000), file=sys.stderr)


if __name__ == "__main__":
    main()
