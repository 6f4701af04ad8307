"""Shared helpers of the Python module's tests: the C++ reference results."""

import os
import subprocess

import numpy as np
import pytest

FIELDS = ("q", "v", "h", "he")


def bits(a):
    """The bit patterns of a float32 array, as uint32."""
    return np.ascontiguousarray(a, dtype=np.float32).view(np.uint32)


@pytest.fixture(scope="session")
def reference():
    """reference(H, B, Vol, S, D, x, y, levels=None) -> dict of the model's results.

    The seven arguments are float32 arrays of one length; the result holds
    status (int32), level (int8) and the bits (uint32) of q, v, h and he, as
    the helper program orv_oracle computes them in C++ (ORV_ORACLE names it).
    """
    exe = os.environ.get("ORV_ORACLE")
    if not exe:
        pytest.fail("ORV_ORACLE is not set: run these tests through ctest (make test)")

    def run(*columns, levels=None):
        cols = [bits(np.asarray(c, dtype=np.float32)) for c in columns]
        text = "".join(" ".join(f"{u:08x}" for u in row) + "\n" for row in zip(*cols))
        args = [exe] + ([repr(float(t)) for t in levels] if levels is not None else [])
        out = subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout
        rows = [line.split() for line in out.splitlines()]
        assert len(rows) == len(cols[0])
        got = {"status": np.array([int(r[0]) for r in rows], dtype=np.int32),
               "level": np.array([int(r[5]) for r in rows], dtype=np.int8)}
        for k, name in enumerate(FIELDS):
            got[name] = np.array([int(r[k + 1], 16) for r in rows], dtype=np.uint32)
        return got

    return run


def assert_same(result, want):
    """result (an orvalis.Result, flattened) equals want (from reference) bit for bit."""
    for name in FIELDS:
        got = bits(np.ravel(getattr(result, name)))
        bad = np.flatnonzero(got != want[name])
        first = bad[:10]
        assert bad.size == 0, f"{name} differs at {first}: {got[first]} != {want[name][first]}"
    for name in ("status", "level"):
        got = np.ravel(getattr(result, name))
        assert got.dtype == want[name].dtype
        np.testing.assert_array_equal(got, want[name], err_msg=name)
