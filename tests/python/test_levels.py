"""orvalis.danger_level: thresholds, NaN, broadcasting, and the levels of results."""

import numpy as np
import pytest

import orvalis

NAN = np.nan
ABOVE_HALF = float(np.nextafter(np.float32(0.5), np.float32(1)))

# (h, q, levels or None for the default, level)
CASES = [
    (0, 0, None, 0), (0.5, 0.5, None, 0), (ABOVE_HALF, 0, None, 1), (0, ABOVE_HALF, None, 1),
    (1, 1, None, 1), (0.1, 1.0000001, None, 2), (1.5, 0.1, None, 2), (2, 2, None, 2),
    (2.0000002, 0, None, 3), (30, 0, None, 3), (NAN, 0, None, -1), (0, NAN, None, -1),
    (-1, -1, None, 0), (np.inf, 0, None, 3), (0.05, 0.2, (0.1, 0.3, 3), 1),
    (0.31, 0.2, (0.1, 0.3, 3), 2), (2.9, 2.9, (0.1, 0.3, 3), 2), (0, 3.1, (0.1, 0.3, 3), 3),
    # Values are rounded to float32 first: 0.50000001 is 0.5, not above it.
    (0.50000001, 0, None, 0),
]


@pytest.mark.parametrize("h,q,levels,want", CASES)
def test_levels_of_pairs(h, q, levels, want):
    kw = {} if levels is None else {"levels": levels}
    got = orvalis.danger_level(h, q, **kw)
    assert isinstance(got, np.int8) and got == want


def test_broadcasting_and_arrays():
    h = np.array([[0.1], [0.7], [1.5]])
    q = np.array([0.2, 2.5, NAN])
    got = orvalis.danger_level(h, q)
    assert got.dtype == np.int8 and got.shape == (3, 3)
    np.testing.assert_array_equal(got, [[0, 3, -1], [1, 3, -1], [2, 3, -1]])
    assert orvalis.danger_level([], 1).shape == (0,)


def test_levels_of_results_are_these_levels():
    rng = np.random.default_rng(5)
    x = np.exp(rng.uniform(-1, 8, 20000)) * rng.choice([-1, 1], 20000, p=[0.05, 0.95])
    r = orvalis.intensity(x=x, y=rng.uniform(-80, 80, 20000), H=rng.uniform(0.5, 12, 20000))
    np.testing.assert_array_equal(r.level, orvalis.danger_level(r.h, r.q))
    np.testing.assert_array_equal(r.level == -1, r.status != 0)
