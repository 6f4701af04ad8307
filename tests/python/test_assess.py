"""assess() and verdict() against `orvalis assess`: the same rows bit for bit,
from files, WKT and __geo_interface__; the verdict, its warning, and errors."""

import json
import os
import subprocess

import numpy as np
import pytest
from osgeo import ogr, osr

import orvalis
from conftest import bits

ogr.UseExceptions()

SITE = dict(H=5, B=20, Vol=40000, S=1, D=0.15, origin=(2600000, 1200000), azimuth=90,
            crs="EPSG:2056")
CLI_SITE = ["-H", "5", "-B", "20", "--vol", "40000", "-S", "1", "-D", "0.15",
            "--origin", "2600000,1200000", "--azimuth", "90", "--crs", "EPSG:2056"]

# Objects below the breach at (2600000, 1200000), the jet running east: on
# the centre line, across it, a polygon, upstream, at the breach, beyond
# the tables, an empty geometry.
WKT = ["POINT (2600100 1200000)",
       "LINESTRING (2600050 1199990,2600300 1200010)",
       "POLYGON ((2600150 1199980,2600220 1199980,2600220 1200030,2600150 1200030,"
       "2600150 1199980))",
       "POINT (2599900 1200000)",
       "POINT (2600002 1200000)",
       "MULTIPOINT ((2600120 1200005),(2600900 1200000))",
       "POINT EMPTY"]

REALS = ("orv_q", "orv_v", "orv_h", "orv_he", "orv_x", "orv_y")
INTS = ("orv_level", "orv_start", "orv_end", "orv_n", "orv_nores", "orv_open")
TEXTS = ("orv_crit", "orv_state", "orv_why")


class Shape:
    """A geometry as shapely and geopandas show it: only __geo_interface__."""

    def __init__(self, gi):
        self.__geo_interface__ = gi


def geojson(wkt):
    """The GeoJSON mapping of a WKT text; None for an empty geometry."""
    g = ogr.CreateGeometryFromWkt(wkt)
    return None if g.IsEmpty() else json.loads(g.ExportToJson())


def write_csv(path, texts):
    with open(path, "w") as f:
        f.write("WKT,name\n" + "".join(f'"{t}",o{k}\n' for k, t in enumerate(texts)))


def write_gpkg(path, texts):
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(2056)
    ds = ogr.GetDriverByName("GPKG").CreateDataSource(str(path))
    layer = ds.CreateLayer("bauten", srs, ogr.wkbUnknown)
    layer.CreateField(ogr.FieldDefn("name", ogr.OFTString))
    for k, t in enumerate(texts):
        f = ogr.Feature(layer.GetLayerDefn())
        f.SetField("name", f"o{k}")
        g = ogr.CreateGeometryFromWkt(t)
        if not g.IsEmpty():
            f.SetGeometry(g)
        layer.CreateFeature(f)
    ds = None


def cli(tmp_path, source, *args):
    """The rows `orvalis assess SOURCE ... -o out.gpkg` writes, as columns."""
    exe = os.environ.get("ORV_ORVALIS")
    if not exe:
        pytest.fail("ORV_ORVALIS is not set: run these tests through ctest (make test)")
    out = tmp_path / "out.gpkg"
    subprocess.run([exe, "assess", str(source), *CLI_SITE, *args, "-o", str(out)],
                   check=True, capture_output=True)
    ds = ogr.Open(str(out))
    rows = [f for layer in ds for f in layer]
    col = {}
    for name in REALS:
        col[name] = np.array([f.GetField(name) if f.IsFieldSetAndNotNull(name) else np.nan
                              for f in rows], dtype=np.float32)
    for name in INTS:
        col[name] = np.array([f.GetField(name) if f.IsFieldSetAndNotNull(name) else -1
                              for f in rows])
    for name in TEXTS:
        col[name] = [f.GetField(name) if f.IsFieldSetAndNotNull(name) else None for f in rows]
    col["layer"] = [layer.GetName() for layer in ds for _ in layer]
    return col


def sources(kind, tmp_path):
    """The objects of WKT as the argument sources of the kind, and the file
    the command reads them from."""
    gpkg, csv = tmp_path / "bauten.gpkg", tmp_path / "bauten.csv"
    write_gpkg(gpkg, WKT)
    write_csv(csv, WKT)
    if kind == "path":
        return gpkg, gpkg
    if kind == "wkt":
        return list(WKT), csv
    if kind == "array":
        return np.array(WKT), csv
    if kind == "geo_interface":
        return [Shape(geojson(t)) if geojson(t) else Shape({"type": "Feature", "geometry": None,
                                                            "properties": {}})
                for t in WKT], csv
    features = [{"type": "Feature", "geometry": geojson(t), "properties": {"name": f"o{k}"}}
                for k, t in enumerate(WKT)]
    return Shape({"type": "FeatureCollection", "features": features}), csv


@pytest.mark.parametrize("kind", ["path", "wkt", "array", "geo_interface", "collection"])
@pytest.mark.parametrize("from_level", [1, 3])
def test_rows_are_the_commands(kind, from_level, tmp_path):
    given, file = sources(kind, tmp_path)
    got = orvalis.assess(given, from_level=from_level, threads=2, **SITE)
    want = cli(tmp_path, file, "--from", str(from_level))
    assert len(got["fid"]) == len(WKT)
    assert list(got["fid"]) == list(range(len(WKT))) or kind == "path"
    for name in REALS:
        assert got[name].dtype == np.float32
        np.testing.assert_array_equal(bits(got[name]), bits(want[name]), err_msg=name)
    for name in INTS:
        np.testing.assert_array_equal(got[name].astype(np.int64), want[name], err_msg=name)
    for name in TEXTS:
        assert list(got[name]) == want[name], name
    assert got["orv_level"].dtype == np.int8
    if kind == "path":
        assert list(got["layer"]) == want["layer"]
    assert set(got["orv_state"]) >= {"full", "part", "upstream", "empty"}


@pytest.mark.parametrize("kind, label, want", [
    ("path", "name", [f"o{k}" for k in range(len(WKT))]),
    ("collection", "name", [f"o{k}" for k in range(len(WKT))]),
])
def test_label(kind, label, want, tmp_path):
    given, _ = sources(kind, tmp_path)
    got = orvalis.assess(given, label=label, **SITE)
    assert list(got["label"]) == want
    assert "label" not in orvalis.assess(given, **SITE)


@pytest.mark.parametrize("kind", ["path", "wkt"])
def test_verdict_is_the_commands(kind, tmp_path):
    given, file = sources(kind, tmp_path)
    exe = os.environ["ORV_ORVALIS"]
    out = subprocess.run([exe, "assess", str(file), *CLI_SITE, "--json"], check=True,
                         capture_output=True, text=True).stdout
    want = json.loads(out)
    v = orvalis.verdict(given, **SITE)
    assert (v.answer, v.word) == (want["verdict"], "ja")
    assert v.samples == want["samples"]
    assert v.levels == tuple(want["layers"][0]["levels"])
    assert v.features == len(WKT) and v.warning is None


# A site parameter left out is never replaced by a default.
@pytest.mark.parametrize("name", ["H", "B", "Vol", "S", "D", "origin", "azimuth"])
@pytest.mark.parametrize("func", [orvalis.assess, orvalis.verdict])
def test_missing_argument(func, name):
    args = {k: v for k, v in SITE.items() if k != name}
    with pytest.raises(TypeError, match=f"{name} fehlt: Argument {name} angeben"):
        func(WKT[:1], **args)


# (arguments changed, exception, text of the message)
BAD = [
    (dict(H=0), ValueError, "Argument H: "),
    (dict(D=float("nan")), ValueError, "Argument D: "),
    (dict(S=-3), ValueError, "S = -3 %.*correct=True"),
    (dict(B="20"), TypeError, "Argument B"),
    (dict(B=[20, 30]), ValueError, "Argument B muss eine einzelne Zahl sein"),
    (dict(origin=(1,)), ValueError, "Argument origin"),
    (dict(azimuth=float("inf")), ValueError, "Argument azimuth"),
    (dict(spacing=0), ValueError, "Argument spacing"),
    (dict(from_level=4), ValueError, "Argument from_level"),
    (dict(threads=-1), ValueError, "Argument threads"),
    (dict(levels=(1, 0.5, 2)), ValueError, "levels"),
    (dict(crs="EPSG:4326"), ValueError, "nicht projiziert"),
    (dict(crs="nonsense"), ValueError, "Argument crs"),
    (dict(label="name"), ValueError, "Argument label: Feld in keiner Ebene"),
    (dict(layer="bauten"), ValueError, "Argument layer"),
    (dict(origin=(0, 0)), ValueError, "Bresche \\(origin\\)"),
]


@pytest.mark.parametrize("change, error, text", BAD)
def test_bad_argument(change, error, text):
    with pytest.raises(error, match=text):
        orvalis.assess(WKT[:2], **{**SITE, **change})


# Sources that are not objects: an error naming them, never a quiet "no".
BAD_SOURCES = [
    (["POINT (2600100 1200000)", "POINT (2600100"], ValueError,
     r"sources\[1\]: Geometrie nicht lesbar \(WKT\)"),
    (["POINT (2600100 1200000) x"], ValueError, r"sources\[0\]: Geometrie nicht lesbar"),
    ([Shape({"type": "Point", "coordinates": [2600100, float("nan")]})], ValueError,
     r"sources\[0\]"),
    ([Shape({"type": "Blob", "coordinates": [1, 2]})], ValueError, r"sources\[0\]"),
    ([Shape("POINT (1 2)")], TypeError, r"sources\[0\]: __geo_interface__"),
    ([None], TypeError, r"sources\[0\]"),
    ([], ValueError, "keine Objekte"),
    (["POINT (2600100 1200000)", "no_such_file.gpkg"], ValueError, "gemischt"),
    ("no_such_file.gpkg", ValueError, "no_such_file.gpkg: nicht lesbar"),
    (42, TypeError, "Argument sources"),
]


@pytest.mark.parametrize("given, error, text", BAD_SOURCES)
@pytest.mark.parametrize("func", [orvalis.assess, orvalis.verdict])
def test_bad_sources(func, given, error, text):
    with pytest.raises(error, match=text):
        func(given, **SITE)


def test_far_object_is_no_with_the_warning():
    v = orvalis.verdict(["POINT (2600100 1201000)"], **SITE)
    assert (v.answer, v.word, v.endangered, v.open) == ("no", "nein", 0, 0)
    assert v.warning == "Kein Objekt im Bereich der Tabellen: nächstes Objekt 1005 m von der Bresche"
    assert v.nearest > v.reach


# The what-if: a wider breach brings the object at 200 m to level 2.
@pytest.mark.parametrize("B, answer, level", [(20, "no", 1), (30, "yes", 2)])
def test_breach_width_changes_the_answer(B, answer, level):
    args = {**SITE, "B": B, "from_level": 2}
    v = orvalis.verdict(["POINT (2600200 1200000)"], **args)
    assert v.answer == answer and v.warning is None
    assert orvalis.assess(["POINT (2600200 1200000)"], **args)["orv_level"][0] == level


def test_corrected_slope_warns():
    with pytest.warns(UserWarning, match="korrigierter Wert"):
        v = orvalis.verdict(WKT[:1], **{**SITE, "S": -3, "correct": True})
    assert v.note and "korrigierter Wert" in v.note


def test_frame():
    try:
        import pandas  # noqa: F401
    except ImportError:
        with pytest.raises(ImportError, match="frame=True braucht das Paket pandas"):
            orvalis.assess(WKT, frame=True, **SITE)
        return
    df = orvalis.assess(WKT, frame=True, **SITE)
    assert list(df["fid"]) == list(range(len(WKT)))
    assert df["orv_q"].dtype == np.float32
