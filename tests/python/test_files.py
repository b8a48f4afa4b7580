"""Graph files through the module: every writable format reads back the same graph, a file
of several graphs is read one at a time past a faulty line, and file errors are OSErrors
with the reader's one-line message."""
import networkx as nx
import pytest

import hamcycles

WRITABLE = ["txt", "hcp", "g6", "s6", "col", "dimacs", "edges", "el"]


@pytest.mark.parametrize("extension", WRITABLE)
def test_every_writable_format_reads_back_the_same_graph(tmp_path, extension):
    # Labels are not stored: node i of the file is the graph's i-th node.
    G = nx.relabel_nodes(nx.petersen_graph(), dict(enumerate("abcdefghij")))
    position = {label: i for i, label in enumerate(G.nodes)}
    path = tmp_path / f"petersen.{extension}"
    hamcycles.write(G, path)
    back = hamcycles.read(path)
    assert back.nodes == list(range(10))
    assert sorted(back.edges) == sorted(tuple(sorted((position[u], position[v]))) for u, v in G.edges)
    assert hamcycles.solve(back).verdict == "non-hamiltonian"
    if extension in ("edges", "el"):
        hamcycles.write(G, path, base=1)
        assert sorted(hamcycles.read(path, base=1).edges) == sorted(back.edges)


def test_a_file_of_many_graphs_is_read_one_at_a_time(tmp_path):
    lines = []
    for graph in (hamcycles.petersen(), hamcycles.knight(4, 4)):
        hamcycles.write(graph, tmp_path / "one.g6")
        lines.append((tmp_path / "one.g6").read_text())
    (tmp_path / "many.g6").write_text(lines[0] + "garbage\n" + lines[1])
    reader = hamcycles.read_all(tmp_path / "many.g6")
    assert next(reader).edge_count == 15
    with pytest.raises(hamcycles.FileError, match=r"many\.g6: line 2: "):
        next(reader)
    assert [g.node_count for g in reader] == [16]
    assert hamcycles.read(tmp_path / "many.g6").edge_count == 15  # read() takes the first


@pytest.mark.parametrize("call, message", [
    (lambda d: hamcycles.read(d / "missing.txt"), "{d}/missing.txt: no such file"),
    (lambda d: hamcycles.read(d), "{d}: is a folder, not a graph file"),
    (lambda d: hamcycles.write(hamcycles.petersen(), d / "p.obj"),
     "{d}/p.obj: cannot write this format (use .txt, .hcp, .g6, .s6, .col, .dimacs, .edges, .el)"),
    (lambda d: hamcycles.write(hamcycles.petersen(), d / "no" / "p.txt"),
     "{d}/no/p.txt: cannot create the file: No such file or directory"),
])
def test_file_errors_are_os_errors_with_one_line(tmp_path, call, message):
    with pytest.raises(OSError) as caught:
        call(tmp_path)
    assert isinstance(caught.value, hamcycles.FileError)
    assert str(caught.value) == message.format(d=tmp_path)
    assert list(tmp_path.iterdir()) == []  # nothing left behind


@pytest.mark.parametrize("call, error, message", [
    (lambda: hamcycles.read(42), TypeError, "a path must be a str or an os.PathLike, not 42"),
    (lambda: hamcycles.read("x.el", base=2), ValueError, "base must be 0 or 1, not 2"),
    (lambda: hamcycles.write([(0, 1)], "x.txt", name=5), TypeError, "name must be a str or None, not 5"),
])
def test_bad_file_arguments(call, error, message):
    with pytest.raises(error) as caught:
        call()
    assert str(caught.value) == message
