#!/usr/bin/env python3
"""Writes the generated benchmark graphs of bench/solve.sh as adjacency text (one line per
node: its id, then its neighbours).

  solve_graphs.py knight R C FILE      knight's graph on an R x C board
  solve_graphs.py petersen N K FILE    generalized Petersen graph GP(N, K)
  solve_graphs.py torus R C FILE       toroidal grid R x C
"""
import sys


def knight(r, c):
    edges = []
    for i in range(r):
        for j in range(c):
            for di, dj in ((1, 2), (2, 1), (2, -1), (1, -2)):
                a, b = i + di, j + dj
                if 0 <= a < r and 0 <= b < c:
                    edges.append((i * c + j, a * c + b))
    return r * c, edges


def petersen(n, k):
    edges = [(i, (i + 1) % n) for i in range(n)] + [(i, n + i) for i in range(n)]
    edges += [(n + i, n + (i + k) % n) for i in range(n)]
    return 2 * n, edges


def torus(r, c):
    edges = []
    for i in range(r):
        for j in range(c):
            edges.append((i * c + j, i * c + (j + 1) % c))
            edges.append((i * c + j, ((i + 1) % r) * c + j))
    return r * c, edges


def main():
    kind, p1, p2, path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    n, edges = {"knight": knight, "petersen": petersen, "torus": torus}[kind](p1, p2)
    adjacency = [[] for _ in range(n)]
    for a, b in edges:
        adjacency[a].append(b)
        adjacency[b].append(a)
    with open(path, "w") as out:
        for v in range(n):
            out.write(" ".join(map(str, [v] + adjacency[v])) + "\n")


if __name__ == "__main__":
    main()
