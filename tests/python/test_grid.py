"""orvalis.grid: the grid evaluation equals intensity() on the mesh, bit for bit."""

import numpy as np
import pytest
from conftest import assert_same, bits

import orvalis

XS = np.array([-10, 0, 0.5, 3, 7.5, 20, 55.5, 100, 180, 420, 900, 5000, np.nan], dtype=np.float32)
YS = np.array([-250, -20, -0.0, 0, 1e-3, 12.5, 40, 200, np.nan, np.inf], dtype=np.float32)
SITES = [
    dict(),
    dict(H=12, B=60, Vol=2.5e6, S=6, D=0.05),
    dict(H=2, B=4, Vol=300, S=14, D=0.4),
    dict(S=0.1),
    dict(H=np.nan),
]


@pytest.mark.parametrize("site", SITES)
def test_grid_equals_intensity_on_the_mesh(reference, site):
    g = orvalis.grid(**site, x=XS, y=YS)
    X, Y = np.meshgrid(XS, YS)
    p = orvalis.intensity(**site, x=X, y=Y)
    for f in orvalis.Result._fields:
        a, b = getattr(g, f), getattr(p, f)
        assert a.shape == (len(YS), len(XS)) and a.dtype == b.dtype, f
        if a.dtype == np.float32:
            np.testing.assert_array_equal(bits(a), bits(b), err_msg=f)
        else:
            np.testing.assert_array_equal(a, b, err_msg=f)
    args = {"H": 5, "B": 10, "Vol": 4000, "S": 1, "D": 0.15, **site}
    site_cols = [np.full(X.size, args[k], dtype=np.float32) for k in ("H", "B", "Vol", "S", "D")]
    assert_same(g, reference(*site_cols, X.ravel(), Y.ravel()))


def test_threads_do_not_change_the_results():
    xs = np.linspace(-5, 800, 301)
    ys = np.linspace(-120, 120, 97)
    one = orvalis.grid(x=xs, y=ys, threads=1)
    for threads in (0, 2, 3):
        other = orvalis.grid(x=xs, y=ys, threads=threads)
        for f in orvalis.Result._fields:
            np.testing.assert_array_equal(np.asarray(getattr(one, f)).view(np.uint8),
                                          np.asarray(getattr(other, f)).view(np.uint8))


@pytest.mark.parametrize("nx,ny", [(0, 3), (4, 0), (0, 0), (1, 1)])
def test_small_and_empty_axes(nx, ny):
    g = orvalis.grid(x=np.linspace(10, 100, nx), y=np.linspace(0, 10, ny))
    assert all(a.shape == (ny, nx) for a in g)


def test_levels_and_axis_conversion():
    xs = [50, 100, 150]  # a list of integers
    ys = np.array([0, 10], dtype=np.float64)
    t = (0.25, 0.5, 4)
    g = orvalis.grid(x=xs, y=ys, levels=t)
    np.testing.assert_array_equal(g.level, orvalis.danger_level(g.h, g.q, levels=t))
    np.testing.assert_array_equal(bits(g.q), bits(orvalis.intensity(x=[xs], y=ys[:, None]).q))
