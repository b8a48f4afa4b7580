#!/usr/bin/env python3
"""Writes graphs whose reason for having no Hamiltonian cycle is local and hidden in a large
random part, as adjacency text (one line per node: its id, then its neighbours), with the
labels shuffled so that no method profits from the construction order.

  structured_graphs.py petersen N SEED FILE  a random cubic graph on N nodes with one node
                                             replaced by the Petersen graph less a node
                                             (N + 8 nodes; the three edges around the
                                             fragment form a 3-edge cut no cycle can cross)
  structured_graphs.py blobs B SEED FILE     nodes u and v and three random cubic blobs of B
                                             nodes, each missing one edge a-b, a joined to u
                                             and b to v (3B + 2 nodes; removing u and v
                                             leaves three pieces)
  structured_graphs.py flower K SEED FILE    Isaacs' flower snark J_K, K odd (4K nodes;
                                             cubic and not 3-edge-colourable)
"""
import random
import sys


def random_cubic(n, rng):
    """Edges of a simple random cubic graph on n nodes (n even): random pairings of three
    points per node, drawn again until one has no loop and no repeated edge."""
    while True:
        points = [v for v in range(n) for _ in range(3)]
        rng.shuffle(points)
        edges = set()
        for i in range(0, len(points), 2):
            a, b = sorted((points[i], points[i + 1]))
            if a == b or (a, b) in edges:
                break
            edges.add((a, b))
        else:
            return sorted(edges)


def petersen_less_a_node():
    """The Petersen graph less node 0: nine nodes, 0..8, of which 0, 3 and 4 (the removed
    node's neighbours) have degree 2."""
    outer = [(i, (i + 1) % 5) for i in range(5)]
    spokes = [(i, 5 + i) for i in range(5)]
    inner = [(5 + i, 5 + (i + 2) % 5) for i in range(5)]
    keep = [(a - 1, b - 1) for a, b in outer + spokes + inner if a != 0 and b != 0]
    return keep, [0, 3, 4]  # old 1, 4, 5


def petersen(n, rng):
    if n < 4 or n % 2:
        raise SystemExit("petersen: N must be even and at least 4")
    edges = random_cubic(n, rng)
    x = n - 1  # the replaced node; the fragment takes its id and 8 more
    outside = [b if a == x else a for a, b in edges if x in (a, b)]
    edges = [(a, b) for a, b in edges if x not in (a, b)]
    fragment, ports = petersen_less_a_node()
    edges += [(x + a, x + b) for a, b in fragment]
    edges += [(w, x + p) for w, p in zip(outside, ports)]
    return n + 8, edges


def blobs(b, rng):
    if b < 4 or b % 2:
        raise SystemExit("blobs: B must be even and at least 4")
    u, v = 3 * b, 3 * b + 1
    edges = []
    for k in range(3):
        blob = [(k * b + p, k * b + q) for p, q in random_cubic(b, rng)]
        p, q = blob.pop(rng.randrange(len(blob)))
        edges += blob + [(p, u), (q, v)]
    return 3 * b + 2, edges


def flower(k, rng):
    if k < 3 or k % 2 == 0:
        raise SystemExit("flower: K must be odd and at least 3")
    edges = []
    for i in range(k):
        a, nxt = 4 * i, 4 * ((i + 1) % k)
        edges += [(a, a + 1), (a, a + 2), (a, a + 3), (a + 1, nxt + 1)]
        # c_0 .. c_{k-1} d_0 .. d_{k-1} is one cycle of length 2k.
        edges += [(a + 2, nxt + 2 if i + 1 < k else 3), (a + 3, nxt + 3 if i + 1 < k else 2)]
    return 4 * k, edges


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("petersen", "blobs", "flower"):
        raise SystemExit(__doc__)
    kind, size, seed, path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    rng = random.Random(seed)
    n, edges = {"petersen": petersen, "blobs": blobs, "flower": flower}[kind](size, rng)
    label = list(range(n))
    rng.shuffle(label)
    adjacency = [[] for _ in range(n)]
    for a, b in edges:
        adjacency[label[a]].append(label[b])
        adjacency[label[b]].append(label[a])
    with open(path, "w") as out:
        for w in range(n):
            out.write(" ".join(map(str, [w] + adjacency[w])) + "\n")


if __name__ == "__main__":
    main()
