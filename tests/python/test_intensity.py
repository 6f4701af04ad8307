"""orvalis.intensity: bit for bit the model's results, broadcasting and conversion."""

import numpy as np
import pytest
from conftest import FIELDS, assert_same, bits

import orvalis

SITE = ("H", "B", "Vol", "S", "D")
ARGS = SITE + ("x", "y")
INITIAL = dict(H=5, B=10, Vol=4000, S=1, D=0.15, x=100, y=0)


def expect_reference(reference, result, args, levels=None):
    """result equals the reference at the broadcast float32 arguments."""
    cols = np.broadcast_arrays(*(np.asarray(args[k]).astype(np.float32) for k in ARGS))
    assert_same(result, reference(*(np.ravel(c) for c in cols), levels=levels))


# The calculator's examples: arguments, status, results printed with two decimals.
EXAMPLES = [
    ("initial", {}, 0, "0.51 1.61 0.32 0.45"),
    ("y 20", dict(y=20), 0, "0.44 1.50 0.29 0.41"),
    ("y -20", dict(y=-20), 0, "0.44 1.50 0.29 0.41"),
    ("y 200", dict(y=200), 0, "0.00 0.00 0.00 0.00"),
    ("slope 3", dict(S=3), 0, "0.97 2.63 0.37 0.72"),
    ("slope 0.25", dict(S=0.25), 0, "0.29 0.95 0.30 0.35"),
    ("slope 16", dict(S=16), 0, "3.14 6.46 0.49 2.61"),
    ("short jet", dict(H=10, B=10, Vol=10, S=1, D=0.15, x=7, y=0), 0, "20.25 11.19 1.81 8.19"),
    ("x 5", dict(x=5), 1, None),
    ("x 1000", dict(x=1000), 2, None),
    ("slope 0.1", dict(S=0.1), 3, None),
    ("slope 20", dict(S=20), 4, None),
    ("x 0", dict(x=0), 5, None),
    ("x -100", dict(x=-100), 5, None),
]


@pytest.mark.parametrize("name,kw,status,printed", EXAMPLES, ids=[e[0] for e in EXAMPLES])
def test_calculator_examples(reference, name, kw, status, printed):
    args = {**INITIAL, **kw}
    r = orvalis.intensity(**kw)
    expect_reference(reference, r, args)
    assert r.status == status
    if printed is None:
        assert all(np.isnan(getattr(r, f)) for f in FIELDS) and r.level == -1
    else:
        assert " ".join(f"{getattr(r, f):.2f}" for f in FIELDS) == printed


def test_initial_point_figures():
    r = orvalis.intensity(5, 10, 4000, 1, 0.15, 100, 0)
    assert [f"{getattr(r, f):.8g}" for f in FIELDS] == [
        "0.50926512", "1.6098896", "0.31633541", "0.44843248"]
    assert (r.status, r.level) == (0, 1)


def random_points(seed, n):
    """Plausible sites and points with awkward values mixed in."""
    rng = np.random.default_rng(seed)
    cols = {
        "H": rng.uniform(0.1, 30, n), "B": rng.uniform(0.5, 200, n),
        "Vol": np.exp(rng.uniform(0, 16, n)), "S": np.exp(rng.uniform(-3, 3.3, n)),
        "D": rng.uniform(0.001, 1, n), "x": np.exp(rng.uniform(-2, 9, n)),
        "y": rng.uniform(-300, 300, n),
    }
    odd = np.array([np.nan, 0.0, -0.0, -1.0, np.inf, -np.inf, 1e-30, 1e30])
    for c in cols.values():
        pick = rng.random(n) < 0.02
        c[pick] = rng.choice(odd, pick.sum())
    cols["x"][rng.random(n) < 0.05] *= -1
    return cols


def test_random_points_each_with_its_site(reference):
    args = random_points(1, 20000)
    r = orvalis.intensity(**args)
    expect_reference(reference, r, args)
    # The sample reaches every status and every level.
    assert set(np.unique(r.status)) == set(range(6))
    assert set(np.unique(r.level)) == {-1, 0, 1, 2, 3}


@pytest.mark.parametrize("site", [
    {}, dict(S=0.3, Vol=2.5e6, B=60, H=12), dict(S=14, H=2, B=4, Vol=300, D=0.4),
    dict(H=np.nan), dict(Vol=0), dict(D=-1), dict(S=0.1)])
def test_random_points_of_one_site(reference, site):
    args = {**INITIAL, **site, **{k: v for k, v in random_points(2, 5000).items() if k in "xy"}}
    expect_reference(reference, orvalis.intensity(**args), args)


def test_inputs_are_rounded_to_the_nearest_float32(reference):
    ulp = np.spacing(np.float32(5))
    h64 = 5 + 0.75 * float(ulp)  # nearest float32: 5 + ulp; truncated: 5
    r = orvalis.intensity(H=h64)
    assert bits(r.q) == bits(orvalis.intensity(H=np.float32(5) + ulp).q)
    assert bits(r.q) != bits(orvalis.intensity(H=5).q)
    args = {**INITIAL, "H": h64, "B": np.array([16777217, 2**40 + 1]), "Vol": np.int8(100)}
    expect_reference(reference, orvalis.intensity(**args), args)
    # Integers beyond 64 bits are numbers too.
    assert bits(orvalis.intensity(Vol=[10**30, 4000.0]).q).tolist() == \
        bits(orvalis.intensity(Vol=[1e30, 4000]).q).tolist()


BROADCAST = [
    ("rows by columns", dict(H=[[4], [5], [6]], x=[50, 100, 150, 300])),
    ("three axes", dict(y=np.arange(-2, 2).reshape(2, 2, 1) * 10.0, x=[20, 80], S=[[1], [3]])),
    ("list and tuple", dict(x=[60, 70], y=(0, 5))),
    ("zero-d arrays", dict(x=np.array([90, 110]), H=np.array(5.5))),
    ("strided", dict(x=np.linspace(1, 500, 40)[::3], y=np.linspace(-50, 50, 80)[::6])),
    ("fortran order", dict(x=np.asfortranarray(np.linspace(5, 400, 12).reshape(3, 4)))),
    ("big endian", dict(x=np.array([50, 120], dtype=">f8"), y=np.array([3, -3], dtype=">f4"))),
    ("integers", dict(x=np.array([50, 120], dtype=np.uint16), Vol=np.int64(4000))),
    ("float16", dict(x=np.array([50, 120], dtype=np.float16))),
    ("one value in a 2-d array", dict(x=[[75.0]], y=[1, 2, 3])),
    ("empty", dict(x=np.zeros((0,)), y=[[1], [2]])),
    ("empty rows", dict(H=np.zeros((3, 0)))),
]


@pytest.mark.parametrize("name,kw", BROADCAST, ids=[b[0] for b in BROADCAST])
def test_broadcasting(reference, name, kw):
    args = {**INITIAL, **kw}
    shape = np.broadcast_shapes(*(np.shape(v) for v in args.values()))
    r = orvalis.intensity(**kw)
    for f, dtype in zip(orvalis.Result._fields, ["float32"] * 4 + ["int32", "int8"]):
        a = getattr(r, f)
        assert isinstance(a, np.ndarray) and a.shape == shape and a.dtype == dtype, f
    if r.q.size:
        expect_reference(reference, r, args)


def test_scalars_give_numpy_scalars():
    r = orvalis.intensity(x=np.float32(100), y=np.array(0))
    assert [type(v) for v in r] == [np.float32] * 4 + [np.int32, np.int8]
    q, v, h, he, status, level = orvalis.intensity(x=[100])
    assert q.shape == (1,) and bits(q) == bits(r.q)


def test_levels_keyword(reference):
    args = random_points(3, 3000)
    t = (0.125, 0.75, 3.5)
    expect_reference(reference, orvalis.intensity(**args, levels=t), args, levels=t)
    expect_reference(reference, orvalis.intensity(**args, levels=np.array(t)), args, levels=t)


def test_inputs_stay_unchanged():
    y = np.array([-10.0, 10.0], dtype=np.float32)
    x = np.array([50.0, -5.0], dtype=np.float32)
    r = orvalis.intensity(x=x, y=y)
    np.testing.assert_array_equal(y, [-10, 10])
    np.testing.assert_array_equal(x, [50, -5])
    assert bits(r.q[0]) == bits(orvalis.intensity(x=50, y=10).q)
