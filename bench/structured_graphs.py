#!/usr/bin/env python3
"""Writes the structured benchmark graphs as adjacency text (one line per node: its id,
then its neighbours), node labels shuffled so that no solver profits from the order in
which the pieces were built.

  structured_graphs.py fragment NODES FILE [SEED]
      a random cubic graph on NODES - 8 nodes with one node replaced by the Petersen graph
      less a node (NODES = 1008, 10008, 100008); non-Hamiltonian through a 3-edge cut
  structured_graphs.py blobs B FILE [SEED]
      nodes u and v and three random cubic blobs of B nodes (B even), each missing one edge
      a-b, with a joined to u and b to v (3 B + 2 nodes); non-Hamiltonian: u and v leave
      three pieces
  structured_graphs.py untough N FILE [SEED]
      about N nodes: a set S of s = round(sqrt(N)) nodes on a cycle and s + 1 random cubic
      pieces, each joined to four nodes of S by four of its nodes (no two nodes separate the
      graph); non-Hamiltonian: removing S leaves s + 1 pieces (not 1-tough)
  structured_graphs.py snark N FILE [SEED]
      the flower snark J_N (N odd, 4 N nodes); non-Hamiltonian: cubic without a
      3-edge-colouring
  structured_graphs.py dotsnark NODES FILE [SEED]
      Petersen graphs chained by dot products (NODES = 10 + 8 k, rounded down): cubic, no
      3-edge-colouring, every nontrivial edge cut of four edges or more; non-Hamiltonian
  structured_graphs.py blobsnark NODES FILE [SEED]
      a dotsnark C on NODES / 7 nodes with a perfect matching doubled (4-regular), each node
      replaced by K(4, 3) whose four nodes of degree 3 carry its edges: 4-regular, and every
      Hamiltonian cycle passes each K(4, 3) in one piece, so it has none since C has none
  For these two the graph is the same for every SEED; SEED permutes the labels only.
  structured_graphs.py gp N FILE [SEED]
      the generalised Petersen graph GP(N, 2) (2 N nodes; N = 5 mod 6 for a non-Hamiltonian
      one); the same graph for every SEED, which permutes the labels only

The finding side (Hamiltonian graphs):
  structured_graphs.py knight R FILE [SEED]
      the knight's graph on an R x R board
  structured_graphs.py gnp N FILE [SEED] [P]
      the random graph G(N, P) (P = 0.3 unless given)
  structured_graphs.py threshold N FILE [SEED]
      G(N, M) at the Hamiltonicity threshold, M = N (ln N + ln ln N) / 2, each node of degree
      below 2 then joined to random nodes until it has 2
  structured_graphs.py cube D FILE [SEED] [R]
      the hypercube Q_D less R random even and R random odd nodes (R = 0 unless given)
  structured_graphs.py odd K FILE [SEED]
      the odd graph O_K: the (K-1)-subsets of 2K-1 things, joined when disjoint
  structured_graphs.py gp2less N FILE [SEED]
      the generalized Petersen graph GP(N, 2) less a node (N = 6k + 5: it is hypohamiltonian)
  structured_graphs.py honeycomb R FILE [SEED]
      the honeycomb (brick-wall) torus on R x R nodes, R even
  structured_graphs.py cubic N FILE [SEED]
  structured_graphs.py quartic N FILE [SEED]
      a connected random 3-regular (4-regular) graph on N nodes
Every graph is written with its labels (and each node's neighbour order) shuffled by SEED.

  structured_graphs.py permute IN OUT SEED
      relabels the adjacency text IN by a random permutation drawn from SEED
"""
import itertools
import math
import random
import sys

import solve_graphs  # beside this script


def random_cubic(n, rng):
    """Edges of a connected simple random cubic graph on nodes 0..n-1 (pairing model,
    redrawn until simple and connected)."""
    if n < 4 or n % 2:
        raise SystemExit("a cubic graph needs an even number of nodes, at least 4")
    while True:
        points = [v for v in range(n) for _ in range(3)]
        rng.shuffle(points)
        edges = set()
        simple = True
        for i in range(0, len(points), 2):
            a, b = points[i], points[i + 1]
            if a == b or (min(a, b), max(a, b)) in edges:
                simple = False
                break
            edges.add((min(a, b), max(a, b)))
        if simple and connected(n, edges):
            return sorted(edges)


def random_regular(n, d, rng):
    """Edges of a connected simple random d-regular graph on nodes 0..n-1: a random pairing
    whose loops and repeated edges are mended by random switches with other pairs (far
    faster than redrawing the whole pairing on large graphs, and as random for a benchmark)."""
    if n <= d or (n * d) % 2:
        raise SystemExit(f"a {d}-regular graph needs more than {d} nodes and n * d even")
    while True:
        points = [v for v in range(n) for _ in range(d)]
        rng.shuffle(points)
        pairs = [(points[i], points[i + 1]) for i in range(0, len(points), 2)]
        count = {}
        for a, b in pairs:
            key = (min(a, b), max(a, b))
            count[key] = count.get(key, 0) + 1
        bad = [i for i, (a, b) in enumerate(pairs) if a == b or count[(min(a, b), max(a, b))] > 1]
        tries = 0
        while bad and tries < 100 * len(pairs):
            tries += 1
            i = bad[-1]
            a, b = pairs[i]
            key = (min(a, b), max(a, b))
            if a != b and count[key] == 1:  # mended by an earlier switch
                bad.pop()
                continue
            j = rng.randrange(len(pairs))
            c, e = pairs[j]
            if len({a, b, c, e}) < 4 and not (a == b and len({a, c, e}) == 3):
                continue
            new1, new2 = (min(a, c), max(a, c)), (min(b, e), max(b, e))
            if a == c or b == e or new1 == new2 or new1 in count or new2 in count:
                continue
            for old in (key, (min(c, e), max(c, e))):
                count[old] -= 1
                if count[old] == 0:
                    del count[old]
            pairs[i], pairs[j] = (a, c), (b, e)
            count[new1] = count[new2] = 1
            bad.pop()
        edges = sorted(count)
        if not bad and len(edges) == len(pairs) and connected(n, edges):
            return edges


def knight(r):
    return solve_graphs.knight(r, r)


def gnp(n, p, rng):
    """G(n, p) by geometric skips over the pairs (a, b), a < b, in order."""
    import math
    edges = []
    log_q = math.log(1.0 - p)
    a, b = 0, 0  # the pair before the first: b runs over a + 1 .. n - 1
    while True:
        b += 1 + int(math.log(1.0 - rng.random()) / log_q)
        while b >= n and a < n - 1:
            a += 1
            b = b - n + a + 1
        if a >= n - 1:
            return n, edges
        edges.append((a, b))


def threshold(n, rng):
    m = round(n * (math.log(n) + math.log(math.log(n))) / 2)
    edges = set()
    while len(edges) < m:
        a, b = rng.randrange(n), rng.randrange(n)
        if a != b:
            edges.add((min(a, b), max(a, b)))
    degree = [0] * n
    for a, b in edges:
        degree[a] += 1
        degree[b] += 1
    for a in range(n):
        while degree[a] < 2:
            b = rng.randrange(n)
            if b != a and (min(a, b), max(a, b)) not in edges:
                edges.add((min(a, b), max(a, b)))
                degree[a] += 1
                degree[b] += 1
    return n, sorted(edges)


def cube(d, removed, rng):
    n = 1 << d
    parity = [bin(v).count("1") % 2 for v in range(n)]
    gone = set(rng.sample([v for v in range(n) if parity[v] == 0], removed))
    gone |= set(rng.sample([v for v in range(n) if parity[v] == 1], removed))
    label = {v: i for i, v in enumerate(v for v in range(n) if v not in gone)}
    edges = [(label[v], label[v ^ (1 << k)]) for v in label for k in range(d)
             if v < v ^ (1 << k) and v ^ (1 << k) in label]
    return len(label), edges


def odd(k):
    sets = [frozenset(c) for c in itertools.combinations(range(2 * k - 1), k - 1)]
    index = {s: i for i, s in enumerate(sets)}
    everything = frozenset(range(2 * k - 1))
    edges = []
    for s, i in index.items():  # the sets disjoint from s: (k-1)-subsets of its complement
        for c in itertools.combinations(sorted(everything - s), k - 1):
            j = index[frozenset(c)]
            if i < j:
                edges.append((i, j))
    return len(sets), edges


def gp2less(n):
    _, edges = solve_graphs.petersen(n, 2)
    last = 2 * n - 1  # removed: an inner node
    return 2 * n - 1, [(a, b) for a, b in edges if last not in (a, b)]


def honeycomb(r):
    if r < 4 or r % 2:
        raise SystemExit("a honeycomb torus needs an even R of at least 4")
    edges = []
    for i in range(r):
        for j in range(r):
            edges.append((i * r + j, i * r + (j + 1) % r))
            if (i + j) % 2 == 0:
                edges.append((i * r + j, ((i + 1) % r) * r + j))
    return r * r, edges


def permute(source, path, rng):
    rows = [list(map(int, line.split())) for line in open(source) if line.strip()]
    n = len(rows)
    edges = [(row[0], w) for row in rows for w in row[1:] if row[0] < w]
    write(n, edges, path, rng)


def adjacency(n, edges):
    adjacent = [[] for _ in range(n)]
    for a, b in edges:
        adjacent[a].append(b)
        adjacent[b].append(a)
    return adjacent


def connected(n, edges):
    adjacent = adjacency(n, edges)
    seen = [False] * n
    seen[0] = True
    stack = [0]
    while stack:
        for w in adjacent[stack.pop()]:
            if not seen[w]:
                seen[w] = True
                stack.append(w)
    return all(seen)


def petersen():
    edges = []
    for i in range(5):
        edges += [(i, (i + 1) % 5), (i, 5 + i), (5 + i, 5 + (i + 2) % 5)]
    return edges


def fragment(nodes, rng):
    base = nodes - 8
    edges = random_cubic(base, rng)
    hole = rng.randrange(base)
    ends = [b if a == hole else a for a, b in edges if hole in (a, b)]
    kept = [(a, b) for a, b in edges if hole not in (a, b)]
    # Petersen node k (1..9) becomes graph node `hole` for k = 1, base + k - 2 otherwise.
    label = {1: hole}
    for k in range(2, 10):
        label[k] = base + k - 2
    kept += [(label[a], label[b]) for a, b in petersen() if 0 not in (a, b)]
    kept += [(label[k], end) for k, end in zip((1, 4, 5), ends)]  # node 0's neighbours
    return nodes, kept


def blobs(size, rng):
    edges = []
    for i in range(3):
        first = 2 + i * size
        blob = random_cubic(size, rng)
        a, b = blob[rng.randrange(len(blob))]
        edges += [(first + x, first + y) for x, y in blob if (x, y) != (a, b)]
        edges += [(0, first + a), (1, first + b)]
    return 2 + 3 * size, edges


def untough(nodes, rng):
    import networkx
    s = max(3, round(nodes ** 0.5))
    size = max(8, (nodes - s) // (s + 1) // 2 * 2)
    edges = [(i, (i + 1) % s) for i in range(s)]
    n = s
    for piece in range(s + 1):
        while True:  # a 3-connected piece (for cubic graphs: no 2-edge cut)
            piece_edges = random_cubic(size, rng)
            if networkx.is_k_edge_connected(networkx.Graph(piece_edges), 3):
                break
        edges += [(n + a, n + b) for a, b in piece_edges]
        # Every node of S meets two pieces at least: pieces k take nodes k and k + 1 of S.
        ends = [piece % s, (piece + 1) % s]
        ends += rng.sample([v for v in range(s) if v not in ends], 2)
        edges += [(end, n + inner) for end, inner in zip(ends, rng.sample(range(size), 4))]
        n += size
    return n, edges


def snark(n):
    if n < 3 or n % 2 == 0:
        raise SystemExit("a flower snark J_n needs an odd n of at least 3")
    a, b, c, d = (lambda i: i), (lambda i: n + i), (lambda i: 2 * n + i), (lambda i: 3 * n + i)
    edges = []
    for i in range(n):
        j = (i + 1) % n
        edges += [(a(i), b(i)), (a(i), c(i)), (a(i), d(i)), (b(i), b(j))]
        # the c and d nodes make one cycle of length 2n: c0 .. c(n-1) d0 .. d(n-1) c0
        edges.append((c(i), c(j)) if j else (c(i), d(0)))
        edges.append((d(i), d(j)) if j else (d(i), c(0)))
    return 4 * n, edges


def dot_snark(nodes, rng):
    """A snark on 10 + 8 k nodes and a perfect matching of it: the Petersen graph, then k
    times the dot product with another Petersen graph P: two edges a-b and c-d of the
    matching go, P loses two adjacent nodes x and y, and a, b are joined to x's other two
    neighbours, c, d to y's. Those two always have one colour in a 3-edge-colouring (else
    P would have one), so a colouring would give one of the graph before: none exists."""
    if nodes < 10:
        raise SystemExit("a dot product snark needs at least 10 nodes")
    edges = set(petersen())
    matching = [(i, 5 + i) for i in range(5)]
    n = 10
    for _ in range((nodes - 10) // 8):
        i, j = rng.sample(range(len(matching)), 2)
        (a, b), (c, d) = matching[i], matching[j]
        for k in sorted((i, j), reverse=True):
            matching[k] = matching[-1]
            matching.pop()
        if rng.random() < 0.5:
            a, b = b, a
        if rng.random() < 0.5:
            c, d = d, c
        edges -= {(min(a, b), max(a, b)), (min(c, d), max(c, d))}
        label = {t: n + t - 2 for t in range(2, 10)}  # P less nodes 0 and 1
        edges |= {(label[u], label[v]) for u, v in petersen() if u > 1 and v > 1}
        # 0's other neighbours are 4 and 5, 1's are 2 and 6; 3-8 and 7-9 match the rest.
        joins = [(a, label[4]), (b, label[5]), (c, label[2]), (d, label[6])]
        edges |= {(min(u, v), max(u, v)) for u, v in joins}
        matching += joins + [(label[3], label[8]), (label[7], label[9])]
        n += 8
    return n, sorted(edges), matching


def blob_snark(nodes, rng):
    """Each node of a dot product snark (its perfect matching doubled) becomes K(4, 3)."""
    c, edges, matching = dot_snark(nodes // 7, rng)
    ports = []  # per node of C: its blob's four nodes of degree 3, in random order
    out = []
    for v in range(c):
        first = 7 * v
        out += [(first + i, first + 3 + j) for i in range(3) for j in range(4)]
        ports.append(rng.sample(range(first + 3, first + 7), 4))
    for u, v in edges + matching:
        out.append((ports[u].pop(), ports[v].pop()))
    return 7 * c, out


def write(n, edges, path, rng, shuffle=True):
    label = list(range(n))
    if shuffle:
        rng.shuffle(label)
    adjacency = [[] for _ in range(n)]
    for a, b in edges:
        adjacency[label[a]].append(label[b])
        adjacency[label[b]].append(label[a])
    if shuffle:
        for row in adjacency:
            rng.shuffle(row)
    with open(path, "w") as out:
        for v in range(n):
            out.write(" ".join(map(str, [v] + adjacency[v])) + "\n")


def main():
    kinds = ("fragment", "blobs", "untough", "snark", "dotsnark", "blobsnark", "gp", "knight", "gnp", "threshold", "cube", "odd", "gp2less", "honeycomb",
             "cubic", "quartic")
    if len(sys.argv) == 5 and sys.argv[1] == "permute":
        permute(sys.argv[2], sys.argv[3], random.Random(int(sys.argv[4])))
        return
    if len(sys.argv) not in (4, 5, 6) or sys.argv[1] not in kinds or (
            len(sys.argv) == 6 and sys.argv[1] not in ("gnp", "cube")):
        raise SystemExit(__doc__)
    kind, size, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) >= 5 else 1)
    extra = sys.argv[5] if len(sys.argv) == 6 else None
    finding = {"knight": lambda: knight(size), "cubic": lambda: (size, random_regular(size, 3, rng)),
               "quartic": lambda: (size, random_regular(size, 4, rng)),
               "gnp": lambda: gnp(size, float(extra) if extra else 0.3, rng),
               "threshold": lambda: threshold(size, rng), "cube": lambda: cube(size, int(extra or 0), rng),
               "odd": lambda: odd(size), "gp2less": lambda: gp2less(size), "honeycomb": lambda: honeycomb(size)}
    if kind in finding:
        n, edges = finding[kind]()
        write(n, edges, path, rng)
        return
    if kind in ("dotsnark", "blobsnark"):
        built = dot_snark(size, random.Random(1))[:2] if kind == "dotsnark" else blob_snark(size, random.Random(1))
        write(*built, path, rng)
        return
    if kind == "fragment":
        if size < 12:
            raise SystemExit("a fragment graph needs at least 12 nodes")
        n, edges = fragment(size, rng)
    elif kind == "blobs":
        n, edges = blobs(size, rng)
    elif kind == "untough":
        n, edges = untough(size, rng)
    elif kind == "gp":
        n, edges = solve_graphs.petersen(size, 2)
    else:
        n, edges = snark(size)
    write(n, edges, path, rng)


if __name__ == "__main__":
    main()
