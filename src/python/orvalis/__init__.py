"""Flow intensities below a breach, computed on NumPy arrays.

The orvalis model for whole arrays of sites and points. A site (head H [m],
breach width B [m], storage volume Vol [m3], bed slope S [%], grain
diameter D [m]) and a point x metres downstream of the breach along the jet
and y metres beside its centre line give the specific discharge q [m2/s],
the flow velocity v [m/s], the flow depth h [m] and the energy head he [m],
with a status and a danger level. The results are bit for bit those of the
orvalis programs at (x, |y|).

    >>> import orvalis
    >>> r = orvalis.intensity(x=[50, 100, 200], y=0)
    >>> r.status
    array([0, 0, 0], dtype=int32)

Every input is converted to float32 (NumPy's nearest rounding) before the
computation, as the programs read their numbers. Statuses: 0 a result;
1 distance from the breach too small, 2 too large, 3 slope too small,
4 too large (the method's tables do not reach the point: no result);
5 x <= 0, the point is not below the breach (not computed). Where the
status is not 0, q, v, h and he are NaN and the level is -1. Danger levels
0 to 3 compare h [m] and q [m2/s] with three thresholds, by default
(0.5, 1, 2): the highest threshold that h or q exceeds.

to_jet() turns world coordinates (easting, northing) into the jet frame
(x, y) by the formula of the programs' world coordinates.

assess() judges the objects of vector files or of geometries given in
Python (WKT, __geo_interface__) as `orvalis assess` does, one row of orv_
fields per object; verdict() gives that command's verdict over them.

Bad arguments raise TypeError (not numbers) or ValueError (shapes, values)
naming the argument; the messages are German, as the programs' are.
"""

import math
import operator
from collections import namedtuple

import numpy as np

from . import _orvalis

__all__ = ["intensity", "grid", "danger_level", "to_jet", "assess", "verdict", "Result", "Verdict",
           "DEFAULT_LEVELS", "NO_LEVEL", "OK", "TOO_CLOSE", "TOO_FAR", "TOO_FLAT", "TOO_STEEP",
           "NOT_DOWNSTREAM"]
__version__ = _orvalis.__version__

OK, TOO_CLOSE, TOO_FAR, TOO_FLAT, TOO_STEEP, NOT_DOWNSTREAM = range(6)
NO_LEVEL = -1
DEFAULT_LEVELS = (0.5, 1.0, 2.0)

Result = namedtuple("Result", ["q", "v", "h", "he", "status", "level"])
Result.__doc__ = """Results of intensity() and grid(), all of one shape.

q, v, h, he: float32, specific discharge [m2/s], flow velocity [m/s], flow
depth [m], energy head [m]; NaN where status is not 0.
status: int32, 0 to 5 (see the module's help).
level: int8, danger level 0 to 3, or -1 where there is none.
"""

_SITE = ("H", "B", "Vol", "S", "D")


def _real_scalar(v):
    """True for a Python int or float or a NumPy integer or floating scalar (not bool)."""
    return type(v) in (int, float) or isinstance(v, (np.integer, np.floating))


def _real(func, name, value, dtype=np.float32):
    """The argument as a float32 (or dtype) array; TypeError or ValueError naming it."""
    if isinstance(value, np.ma.MaskedArray):
        # Its masked elements would be computed as if they were not masked.
        raise TypeError(f"{func}: Argument {name} ist ein maskiertes Feld; die Maske "
                        f"wuerde uebergangen (np.ma.filled oder .compressed() verwenden)")
    try:
        a = np.asarray(value)
    except (TypeError, ValueError) as e:
        raise ValueError(f"{func}: Argument {name}: kein rechteckiges Zahlenfeld ({e})") from None
    if a.dtype == object and all(_real_scalar(v) for v in a.flat):
        a = a.astype(np.float64)  # integers beyond 64 bits, alone or with floats
    if a.dtype.kind not in "iuf":
        what = type(value).__name__ if a.ndim == 0 else f"Feld mit dtype {a.dtype}"
        raise TypeError(f"{func}: Argument {name} muss eine Zahl oder ein Zahlenfeld sein, "
                        f"nicht {what}")
    return a if a.dtype == dtype else a.astype(dtype)


def _shape(func, named):
    """The common shape of the (name, array) pairs, broadcast as NumPy does."""
    shape, seen = (), []
    for name, a in named:
        try:
            shape = np.broadcast_shapes(shape, a.shape)
        except ValueError:
            raise ValueError(f"{func}: Argument {name} mit Form {a.shape} passt nicht zu "
                             f"{', '.join(seen)} (gemeinsame Form {shape})") from None
        if a.ndim:
            seen.append(f"{name} {a.shape}")
    return shape


def _column(a, shape, n):
    """a as one value, or as n values in C order of the broadcast shape."""
    if a.size == 1:
        return a.reshape(1)
    return np.ascontiguousarray(np.broadcast_to(a, shape)).reshape(n)


def _levels(func, value):
    """The thresholds as three float32 values; TypeError or ValueError naming levels."""
    a = _real(func, "levels", value)
    if a.shape != (3,) or not _orvalis.valid_levels(a):
        raise ValueError(f"{func}: Argument levels: drei aufsteigende positive endliche "
                         f"Schwellen erwartet, nicht {value!r}")
    return a


def _result(arrays, shape):
    """The Result of flat arrays in shape; NumPy scalars for shape ()."""
    if shape == ():
        return Result(*(a.reshape(())[()] for a in arrays))
    return Result(*(a.reshape(shape) for a in arrays))


def intensity(H=5.0, B=10.0, Vol=4000.0, S=1.0, D=0.15, x=100.0, y=0.0, *,
              levels=DEFAULT_LEVELS):
    """Intensities at points below a breach.

    Parameters
    ----------
    H, B, Vol, S, D : number or array_like
        Head [m], breach width [m], storage volume [m3], bed slope [%] and
        grain diameter [m] of the site. Defaults: the calculator's initial
        values 5, 10, 4000, 1, 0.15.
    x, y : number or array_like
        Distance downstream of the breach along the jet [m] and from its
        centre line [m], either side. Defaults 100 and 0.
    levels : three numbers, keyword only
        Ascending positive thresholds of the danger levels 1, 2 and 3, for h
        in m and q in m2/s; default (0.5, 1, 2).

    Every argument is a number or an array; they are broadcast together as
    NumPy does and converted to float32 first. The computation runs in C++
    without the interpreter lock; when H, B, Vol, S and D are single values
    the part that depends only on the site is computed once.

    Returns
    -------
    Result
        q, v, h, he (float32), status (int32), level (int8), each of the
        broadcast shape; NumPy scalars when every argument is a scalar.
    """
    args = (H, B, Vol, S, D, x, y)
    named = [(n, _real("intensity", n, v)) for n, v in zip(_SITE + ("x", "y"), args)]
    t = _levels("intensity", levels)
    shape = _shape("intensity", named)
    n = math.prod(shape)
    cols = [_column(a, shape, n) for _, a in named]
    return _result(_orvalis.intensity(*cols, n, t), shape)


def grid(H=5.0, B=10.0, Vol=4000.0, S=1.0, D=0.15, *, x, y, levels=DEFAULT_LEVELS, threads=1):
    """Intensities on the grid of two axes below a breach, for one site.

    Parameters
    ----------
    H, B, Vol, S, D : number
        The site, single values (defaults as for intensity()).
    x, y : 1-D array_like, keyword only
        The axes: distances downstream of the breach [m] and from the jet's
        centre line [m].
    levels : three numbers, keyword only
        Thresholds of the danger levels, as for intensity().
    threads : int, keyword only
        How many threads to use, 0 to 1024, 0 for all cores; default 1. The results do
        not depend on it.

    Returns
    -------
    Result
        Arrays of shape (len(y), len(x)): row j, column i holds the point
        (x[i], y[j]), bit for bit as intensity() computes it.
    """
    site = []
    for name, value in zip(_SITE, (H, B, Vol, S, D)):
        a = _real("grid", name, value)
        if a.ndim != 0:
            raise ValueError(f"grid: Argument {name} muss eine einzelne Zahl sein, "
                             f"nicht ein Feld der Form {a.shape}")
        site.append(a)
    axes = []
    for name, value in (("x", x), ("y", y)):
        a = _real("grid", name, value)
        if a.ndim != 1:
            raise ValueError(f"grid: Argument {name} muss ein eindimensionales Feld sein, "
                             f"nicht eines der Form {a.shape}")
        axes.append(np.ascontiguousarray(a))
    t = _levels("grid", levels)
    if isinstance(threads, bool):
        raise TypeError("grid: Argument threads muss eine ganze Zahl sein, nicht bool")
    try:
        count = operator.index(threads)
    except TypeError:
        raise TypeError(f"grid: Argument threads muss eine ganze Zahl sein, "
                        f"nicht {type(threads).__name__}") from None
    if not 0 <= count <= 1024:
        raise ValueError(f"grid: Argument threads muss zwischen 0 und 1024 liegen, nicht {count}")
    return Result(*_orvalis.grid(np.stack(site), axes[0], axes[1], t, count))


def danger_level(h, q, levels=DEFAULT_LEVELS):
    """Danger levels of flow depths h [m] and specific discharges q [m2/s].

    h and q are numbers or arrays, broadcast together and converted to
    float32. The level is the highest k (1 to 3) for which h or q exceeds
    levels[k-1], compared in double, else 0; -1 where h or q is NaN. The
    levels of intensity() and grid() are these levels of their results.

    Returns an int8 array of the broadcast shape, or an int8 scalar when h
    and q are scalars.
    """
    named = [("h", _real("danger_level", "h", h)), ("q", _real("danger_level", "q", q))]
    t = _levels("danger_level", levels)
    shape = _shape("danger_level", named)
    n = math.prod(shape)
    out = _orvalis.danger_level(*(_column(a, shape, n) for _, a in named), n, t)
    return out.reshape(())[()] if shape == () else out.reshape(shape)


def to_jet(E, N, *, origin, azimuth):
    """World coordinates to the jet frame of a breach.

    Parameters
    ----------
    E, N : number or array_like
        Easting and northing [m] of points in a projected coordinate system,
        broadcast together as NumPy does and converted to float64.
    origin : two numbers, keyword only
        Easting and northing (E0, N0) of the breach.
    azimuth : number, keyword only
        Direction of the jet in degrees clockwise from north.

    The formula is the one of the orvalis programs' world coordinates (batch
    and map), in double: with a the azimuth in radians, dE = E - E0 and
    dN = N - N0, x = dE sin a + dN cos a along the jet and
    y = dN sin a - dE cos a, positive to the jet's left.

    Returns
    -------
    (x, y)
        float64 arrays of the broadcast shape, y signed and not rounded
        (intensity() takes them as they are and uses |y|); NumPy scalars
        when E and N are scalars.
    """
    named = [("E", _real("to_jet", "E", E, np.float64)),
             ("N", _real("to_jet", "N", N, np.float64))]
    o = _real("to_jet", "origin", origin, np.float64)
    if o.shape != (2,) or not np.all(np.isfinite(o)):
        raise ValueError(f"to_jet: Argument origin: zwei endliche Zahlen (E0, N0) erwartet, "
                         f"nicht {origin!r}")
    a = _real("to_jet", "azimuth", azimuth, np.float64)
    if a.shape != () or not np.isfinite(a):
        raise ValueError(f"to_jet: Argument azimuth: eine endliche Zahl erwartet, "
                         f"nicht {azimuth!r}")
    shape = _shape("to_jet", named)
    cols = [np.ascontiguousarray(np.broadcast_to(v, shape)).reshape(-1) for _, v in named]
    x, y = _orvalis.to_jet(*cols, float(o[0]), float(o[1]), float(a))
    if shape == ():
        return x[0], y[0]
    return x.reshape(shape), y.reshape(shape)


from ._assess import Verdict, assess, verdict  # noqa: E402 (uses the helpers above)
