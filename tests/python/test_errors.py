"""Bad arguments raise TypeError or ValueError naming the argument, never crash."""

import numpy as np
import pytest

import orvalis
from orvalis import _orvalis

AXES = dict(x=[10, 20], y=[0, 1])

# (function, positional, keywords, exception, text the message contains)
CASES = [
    (orvalis.intensity, (), dict(x="100"), TypeError, "Argument x"),
    (orvalis.intensity, (), dict(H=[1, "a"]), TypeError, "Argument H"),
    (orvalis.intensity, (), dict(S=None), TypeError, "Argument S"),
    (orvalis.intensity, (), dict(D=1 + 2j), TypeError, "Argument D"),
    (orvalis.intensity, (), dict(B=True), TypeError, "Argument B"),
    (orvalis.intensity, (), dict(Vol={"a": 1}), TypeError, "Argument Vol"),
    (orvalis.intensity, (), dict(y=np.array(["1"])), TypeError, "Argument y"),
    (orvalis.intensity, (), dict(x=np.ma.masked_array([50.0, 60.0], mask=[0, 1])), TypeError,
     "Argument x ist ein maskiertes Feld"),
    (orvalis.grid, (), dict(x=[10], y=np.ma.masked_array([0.0])), TypeError, "Argument y"),
    (orvalis.intensity, (), dict(H=np.array([5, None], dtype=object)), TypeError, "Argument H"),
    (orvalis.intensity, (), dict(S=np.array([1, 1j], dtype=object)), TypeError, "Argument S"),
    (orvalis.intensity, (), dict(D=np.array([np.True_], dtype=object)), TypeError, "Argument D"),
    (orvalis.intensity, (), dict(y=[[1, 2], [3]]), ValueError, "Argument y"),
    (orvalis.intensity, (), dict(x=[1, 2, 3], y=[1, 2]), ValueError, r"Argument y .*x \(3,\)"),
    (orvalis.intensity, (), dict(H=np.ones((2, 3)), S=np.ones((3, 2))), ValueError, "Argument S"),
    (orvalis.intensity, (), dict(foo=1), TypeError, "foo"),
    (orvalis.intensity, (), dict(h=1), TypeError, "'h'"),
    (orvalis.intensity, (1, 2, 3, 4, 5, 6, 7, 8), {}, TypeError, "positional"),
    (orvalis.intensity, (), dict(levels=(1, 0.5, 2)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels=(0.5, 1)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels=(0, 1, 2)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels=(0.5, 1, np.inf)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels=(0.5, np.nan, 2)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels=((0.5, 1, 2),)), ValueError, "levels"),
    (orvalis.intensity, (), dict(levels="abc"), TypeError, "levels"),
    (orvalis.intensity, (), dict(levels=None), TypeError, "levels"),
    (orvalis.grid, (), dict(x=[[1, 2]], y=[1]), ValueError, "Argument x"),
    (orvalis.grid, (), dict(x=[1], y=5), ValueError, "Argument y"),
    (orvalis.grid, (), dict(H=[5, 6], **AXES), ValueError, "Argument H"),
    (orvalis.grid, (), dict(D=np.array([0.1]), **AXES), ValueError, "Argument D"),
    (orvalis.grid, (), dict(x=["a"], y=[1]), TypeError, "Argument x"),
    (orvalis.grid, (), dict(y=[1]), TypeError, "'x'"),
    (orvalis.grid, (5, 10, 4000, 1, 0.15, [10], [0]), {}, TypeError, "positional"),
    (orvalis.grid, (), dict(threads=-1, **AXES), ValueError, "threads"),
    (orvalis.grid, (), dict(threads=10**30, **AXES), ValueError, "threads"),
    (orvalis.grid, (), dict(threads=1.5, **AXES), TypeError, "threads"),
    (orvalis.grid, (), dict(threads=True, **AXES), TypeError, "threads"),
    (orvalis.grid, (), dict(levels=(2, 1, 3), **AXES), ValueError, "levels"),
    (orvalis.danger_level, ([1, 2], [1, 2, 3]), {}, ValueError, "Argument q"),
    (orvalis.danger_level, ("a", 1), {}, TypeError, "Argument h"),
    (orvalis.danger_level, (1, 1), dict(levels=(2, 1, 3)), ValueError, "levels"),
    (orvalis.danger_level, (1,), {}, TypeError, "'q'"),
]


@pytest.mark.parametrize("func,args,kw,exc,text", CASES)
def test_bad_arguments(func, args, kw, exc, text):
    with pytest.raises(exc, match=text):
        func(*args, **kw)


F = np.float32
LEVELS = np.array([0.5, 1, 2], dtype=F)

# The extension module called directly with arrays the package never passes.
RAW = [
    lambda: _orvalis.intensity(*[np.zeros(2, F)] * 7, 3, LEVELS),
    lambda: _orvalis.intensity(*[np.zeros((2, 2), F)] * 7, 4, LEVELS),
    lambda: _orvalis.intensity(*[np.zeros(1, F)] * 7, 1, np.zeros(2, F)),
    lambda: _orvalis.intensity(*[np.zeros(1, F)] * 7, -1, LEVELS),
    lambda: _orvalis.intensity(*[np.zeros(1, np.float64)] * 7, 1, LEVELS),
    lambda: _orvalis.grid(np.zeros(4, F), np.zeros(3, F), np.zeros(3, F), LEVELS, 1),
    lambda: _orvalis.grid(np.zeros(5, F), np.zeros((3, 1), F), np.zeros(3, F), LEVELS, 1),
    lambda: _orvalis.grid(np.zeros(5, F), np.zeros(3, F), np.zeros(3, F), LEVELS, -1),
    lambda: _orvalis.danger_level(np.zeros(3, F), np.zeros(2, F), 3, LEVELS),
    lambda: _orvalis.danger_level(np.zeros(1, F), np.zeros(1, F), 1, np.array([1, 1, 1], F)),
]


@pytest.mark.parametrize("call", RAW)
def test_extension_checks_its_arguments(call):
    with pytest.raises((TypeError, ValueError)):
        call()


def test_object_arrays_of_real_numbers():
    """Python and NumPy integers and floats in an object array count as their numbers."""
    mixed = np.array([np.float32(35.5), 50, np.int64(70), 2.5e2, np.float64(1e3)], dtype=object)
    plain = np.array([35.5, 50, 70, 250, 1000], dtype=np.float32)
    got, want = orvalis.intensity(x=mixed), orvalis.intensity(x=plain)
    for g, w in zip(got, want):
        np.testing.assert_array_equal(g, w)
