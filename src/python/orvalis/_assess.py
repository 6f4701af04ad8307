"""Die Beurteilung von Objekten unterhalb einer Bresche: assess() und verdict().

Jedes Objekt der Quellen wird von der Beurteilung des Befehls `orvalis
assess` abgetastet und beurteilt; die Spalten sind die Felder orv_, die der
Befehl in seine Ausgabe schreibt, das Urteil ist das seiner Zusammenfassung.
"""

import json
import math
import operator
import os
import re
import warnings
from collections import namedtuple

import numpy as np

from . import _orvalis

_SITE = ("H", "B", "Vol", "S", "D")

# A WKT text: a geometry's name (optionally Z, M or ZM), then "(" or EMPTY.
_WKT = re.compile(r"\s*[A-Za-z]+(\s*(Z|M|ZM))?\s*(\(|EMPTY\b)", re.IGNORECASE)

# The engine's messages name the command's options; here they are arguments.
_OPTION_WORDS = (("Option --", "Argument "), ("--origin", "origin"), ("--crs", "crs"),
                 ("--label", "label"), ("--layer", "layer"), ("--coords", "coords"))

Verdict = namedtuple("Verdict", ["answer", "word", "features", "endangered", "open", "settled",
                                 "levels", "samples", "nearest", "reach", "warning", "note",
                                 "layers"])
Verdict.__doc__ = """Das Urteil von verdict(), wie es die Zusammenfassung von `orvalis assess` gibt.

answer: "yes" (mindestens ein Objekt ab Stufe from_level), "open" (Objekte
nahe der Bresche oder jenseits der Tabellen, wo die Zone die Stufe
erreicht) oder "no"; word: dasselbe deutsch, "ja", "offen" oder "nein".
features, endangered, open, settled: Anzahl Objekte, gefaehrdete, offene,
ohne Ergebnis erledigte. levels: Anzahl Objekte auf Stufe 0, 1, 2, 3.
samples: Anzahl Stichproben. nearest: Abstand des naechsten Objekts von
der Bresche [m], reach: wie weit die Tabellen reichen [m]; None, wo
unbekannt. warning: die Warnung, wenn jedes Objekt jenseits der Tabellen
liegt, sonst None. note: die Korrektur des Gefaelles (correct=True), sonst
None. layers: je Ebene ein dict (name, source, features, levels,
endangered, open, settled).
"""

_WORDS = {"yes": "ja", "open": "offen", "no": "nein"}


def _missing(func, name):
    return TypeError(f"{func}: {name} fehlt: Argument {name} angeben (ein Urteil braucht alle "
                     f"fuenf Parameter H, B, Vol, S, D, dazu origin und azimuth)")


def _number(func, name, value):
    """One real number as a float64 scalar; TypeError or ValueError naming it."""
    a = _as_real(func, name, value, np.float64)
    if a.shape != () or not np.isfinite(a):
        raise ValueError(f"{func}: Argument {name}: eine endliche Zahl erwartet, nicht {value!r}")
    return float(a)


def _as_real(func, name, value, dtype):
    # The package's own conversion (orvalis._real), imported late: it imports this module.
    from . import _real
    return _real(func, name, value, dtype)


def _site(func, values):
    """The five site values as float32 numbers (checked further in C++)."""
    site = []
    for name, value in zip(_SITE, values):
        if value is None:
            raise _missing(func, name)
        a = _as_real(func, name, value, np.float32)
        if a.shape != ():
            raise ValueError(f"{func}: Argument {name} muss eine einzelne Zahl sein, "
                             f"nicht ein Feld der Form {a.shape}")
        site.append(float(a))
    return site


def _integer(func, name, value, lo, hi):
    if isinstance(value, bool):
        raise TypeError(f"{func}: Argument {name} muss eine ganze Zahl sein, nicht bool")
    try:
        k = operator.index(value)
    except TypeError:
        raise TypeError(f"{func}: Argument {name} muss eine ganze Zahl sein, "
                        f"nicht {type(value).__name__}") from None
    if not lo <= k <= hi:
        raise ValueError(f"{func}: Argument {name}: ganze Zahl von {lo} bis {hi} erwartet, "
                         f"nicht {k}")
    return k


def _names(func, name, value):
    """None, one text or a list of texts as a list of texts."""
    if value is None:
        return []
    items = [value] if isinstance(value, str) else value
    try:
        items = list(items)
    except TypeError:
        items = None
    if items is None or not all(isinstance(v, str) and v for v in items):
        raise TypeError(f"{func}: Argument {name}: Text oder Liste von Texten erwartet, "
                        f"nicht {value!r}")
    return items


def _crs(func, value):
    """The site's system as the command's --crs text; "" for the first layer's."""
    if value is None:
        return ""
    if isinstance(value, bool):
        raise TypeError(f"{func}: Argument crs: Text, Pfad oder EPSG-Nummer erwartet, nicht bool")
    if isinstance(value, (int, np.integer)):
        return f"EPSG:{int(value)}"
    if isinstance(value, (str, os.PathLike)):
        return os.fspath(value)
    raise TypeError(f"{func}: Argument crs: Text, Pfad oder EPSG-Nummer erwartet, "
                    f"nicht {type(value).__name__}")


def _json(func, where, geometry):
    """A GeoJSON geometry object (a mapping) as text."""
    def plain(v):
        if isinstance(v, np.generic):
            return v.item()
        if isinstance(v, np.ndarray):
            return v.tolist()
        raise TypeError(type(v).__name__)
    try:
        return json.dumps(geometry, default=plain, allow_nan=False)
    except (TypeError, ValueError) as e:
        raise ValueError(f"{func}: {where}: Geometrie nicht lesbar (GeoJSON: {e})") from None


def _geojson(func, where, gi, out):
    """Appends the objects of the GeoJSON mapping gi: a geometry, a Feature or
    a FeatureCollection; each as (text, is_json, properties)."""
    if not isinstance(gi, dict) or not isinstance(gi.get("type"), str):
        raise TypeError(f"{func}: {where}: __geo_interface__ ist kein GeoJSON-Objekt")
    if gi["type"] == "FeatureCollection":
        for k, f in enumerate(gi.get("features") or []):
            _geojson(func, f"{where}, Objekt {k}", f, out)
    elif gi["type"] == "Feature":
        g = gi.get("geometry")
        out.append(("" if g is None else _json(func, where, g), True, gi.get("properties") or {}))
    else:
        out.append((_json(func, where, gi), True, {}))


def _iterable(v):
    """True for a sequence of objects other than text (a NumPy array, a pandas Series)."""
    if isinstance(v, (bytes, bytearray)) or (isinstance(v, np.ndarray) and v.ndim != 1):
        return False
    try:
        iter(v)
    except TypeError:
        return False
    return True


def _sources(func, sources):
    """(paths, objects): the files, or the objects given in Python as
    (text, is_json, properties); never both."""
    if isinstance(sources, (str, os.PathLike)) or hasattr(sources, "__geo_interface__") \
            or isinstance(sources, dict):
        items, named = [sources], False
    elif isinstance(sources, (list, tuple)) or _iterable(sources):
        items, named = list(sources), True
    else:
        raise TypeError(f"{func}: Argument sources: Pfad, Liste von Pfaden oder Geometrien "
                        f"erwartet, nicht {type(sources).__name__}")
    paths, objects = [], []
    for k, v in enumerate(items):
        where = f"sources[{k}]" if named else "sources"
        if isinstance(v, os.PathLike) or (isinstance(v, str) and not _WKT.match(v)):
            paths.append(os.fspath(v))
        elif isinstance(v, str):
            objects.append((v, False, {}))
        elif hasattr(v, "__geo_interface__") or isinstance(v, dict):
            _geojson(func, where, v if isinstance(v, dict) else v.__geo_interface__, objects)
        else:
            raise TypeError(f"{func}: {where}: Pfad, WKT-Text oder Objekt mit __geo_interface__ "
                            f"erwartet, nicht {type(v).__name__}")
        if paths and objects:
            raise ValueError(f"{func}: {where}: Pfade und Geometrien gemischt; entweder "
                             f"Dateien oder Geometrien angeben")
    if not paths and not objects:
        raise ValueError(f"{func}: Argument sources: keine Objekte")
    return paths, objects


def _labels(func, label, objects):
    """The label of each object given in Python: its property label as text."""
    texts = []
    for _, _, props in objects:
        v = props.get(label) if isinstance(props, dict) else None
        texts.append(None if v is None else str(v))
    if all(t is None for t in texts):
        raise ValueError(f"{func}: Argument label: Feld in keiner Ebene: {label}")
    return texts


def _engine_message(func, e):
    text = str(e)
    for option, argument in _OPTION_WORDS:
        text = text.replace(option, argument)
    return ValueError(f"{func}: {text}")


def _run(func, sources, site, *, origin, azimuth, crs, spacing, levels, from_level, label,
         correct, layer, coords, threads):
    """The engine's result for the arguments of assess() and verdict()."""
    from . import _levels
    if origin is None:
        raise _missing(func, "origin")
    if azimuth is None:
        raise _missing(func, "azimuth")
    values = _site(func, site)
    o = _as_real(func, "origin", origin, np.float64)
    if o.shape != (2,) or not np.all(np.isfinite(o)):
        raise ValueError(f"{func}: Argument origin: zwei endliche Zahlen (E, N) erwartet, "
                         f"nicht {origin!r}")
    a = _number(func, "azimuth", azimuth)
    step = _number(func, "spacing", spacing)
    if not step > 0:
        raise ValueError(f"{func}: Argument spacing: Wert muss groesser als 0 sein: {spacing!r}")
    t = _levels(func, levels)
    k = _integer(func, "from_level", from_level, 1, 3)
    n = _integer(func, "threads", threads, 0, 256)
    if label is not None and (not isinstance(label, str) or not label):
        raise TypeError(f"{func}: Argument label: Name eines Feldes erwartet, nicht {label!r}")
    if not isinstance(correct, (bool, np.bool_)):
        raise TypeError(f"{func}: Argument correct: True oder False erwartet, nicht {correct!r}")
    src = _orvalis.Sources()
    paths, objects = _sources(func, sources)
    src.paths, src.layers, src.crs = paths, _names(func, "layer", layer), _crs(func, crs)
    if objects and src.layers:
        raise ValueError(f"{func}: Argument layer: nur fuer Dateien; Geometrien bilden eine "
                         f"Ebene")
    src.given = [(text, is_json) for text, is_json, _ in objects]
    if coords is not None:
        c = _names(func, "coords", coords)
        if len(c) != 2:
            raise ValueError(f"{func}: Argument coords: zwei Spaltennamen (E, N) erwartet, "
                             f"nicht {coords!r}")
        src.coord_e, src.coord_n = c
    labels = _labels(func, label, objects) if objects and label is not None else None
    try:
        r = _orvalis.assess(src, values, t, (float(o[0]), float(o[1])), a, step, k,
                            "" if objects or label is None else label, bool(correct), n)
    except ValueError as e:
        raise _engine_message(func, e) from None
    if r["note"]:
        warnings.warn(f"{func}: {r['note']}", stacklevel=3)
    if labels is not None:
        r["columns"]["label"] = labels
    return r


def _columns(r, label):
    """The rows as a dict of NumPy arrays: source, layer, fid, label (with
    label), then the orv_ fields."""
    c = r["columns"]
    index = c.pop("layer")
    layers = r["layers"]
    out = {"source": np.array([layers[i]["source"] for i in index], dtype=object),
           "layer": np.array([layers[i]["name"] for i in index], dtype=object),
           "fid": c.pop("fid")}
    texts = c.pop("label")
    if label is not None:
        out["label"] = np.array(texts, dtype=object)
    for name, v in c.items():
        out[name] = np.array(v, dtype=object) if isinstance(v, list) else v
    return out


def assess(sources, *, H=None, B=None, Vol=None, S=None, D=None, origin=None, azimuth=None,
           crs=None, spacing=1.0, levels=(0.5, 1.0, 2.0), from_level=1, label=None,
           correct=False, layer=None, coords=None, threads=0, frame=False):
    """Gefahrenstufe jedes Objekts unterhalb einer Bresche, wie `orvalis assess`.

    Parameter
    ---------
    sources : Pfad, Liste von Pfaden oder Geometrien
        Vektordateien (str oder os.PathLike: GeoPackage, Shapefile, GeoJSON,
        CSV ...), oder Geometrien im Koordinatensystem des Standortes: WKT-
        Texte, GeoJSON-Objekte (dict) oder Objekte mit __geo_interface__
        (Geometrien, Features, FeatureCollections wie ein GeoDataFrame),
        einzeln oder als Liste; ein Text, der wie WKT beginnt (ein Name,
        dann "(" oder EMPTY), gilt als WKT. Geometrien bilden eine Ebene "objekte" der
        Quelle "sources"; die Objektnummer (fid) ist die Stelle in der
        Liste, Features einer Sammlung der Reihe nach gezaehlt. Dateien und
        Geometrien werden nicht gemischt.
    H, B, Vol, S, D : Zahl, Pflicht
        Stauhoehe [m], Breschenbreite [m], Stauvolumen [m3], Gefaelle [%],
        Korndurchmesser [m]; ohne Vorgabe, denn ein Urteil rechnet nie mit
        einem Wert, den niemand gewaehlt hat. Als float32 gerechnet.
    origin : (E, N), Pflicht
        Die Bresche in Weltkoordinaten [m].
    azimuth : Zahl, Pflicht
        Richtung des Strahls in Grad im Uhrzeigersinn von Norden.
    crs : Text, Pfad oder EPSG-Nummer, optional
        Koordinatensystem des Standortes (EPSG:NNNN, WKT, PROJ-Zeichenkette
        oder eine Datei damit); Vorgabe: das der ersten Ebene.
    spacing : Zahl
        Abstand der Stichproben [m], Vorgabe 1.
    levels : drei Zahlen
        Schwellen der Stufen 1, 2, 3 fuer h [m] und q [m2/s].
    from_level : 1, 2 oder 3
        Ab dieser Stufe gilt ein Objekt als gefaehrdet (--from), Vorgabe 1.
    label : Text, optional
        Feld, das die Objekte benennt; bei Geometrien die Eigenschaft
        (properties) der Features. Gibt die Spalte label.
    correct : bool
        Ein Gefaelle ausserhalb der Tabellen korrigieren statt ablehnen (eine
        Warnung sagt es), wie --correct.
    layer : Text oder Liste von Texten, optional
        Nur diese Ebenen der Dateien.
    coords : (E, N), optional
        Spalten der Koordinaten in CSV-Quellen statt einer Spalte WKT.
    threads : int
        Anzahl Threads, 0 fuer alle Kerne (Vorgabe); die Ergebnisse haengen
        nicht davon ab.
    frame : bool
        True: ein pandas.DataFrame statt eines dict.

    Rueckgabe
    ---------
    dict von NumPy-Feldern, eine Zeile je Objekt in der Reihenfolge der
    Ebenen und Objekte: source, layer (der Name der Ebene, wie -o ihn
    schreibt), fid (int64), label (mit label; None, wo das Feld fehlt),
    dann die Felder orv_ der Ausgabe von `orvalis assess -o`: orv_level,
    orv_start, orv_end (int8, -1 ohne Stufe), orv_crit ("h", "q", "hq",
    None unter Stufe 1), orv_q, orv_v, orv_h, orv_he, orv_x, orv_y
    (float32, NaN ohne Ergebnis), orv_n, orv_nores (int64), orv_state
    ("full", "part", "none", "upstream", "empty"), orv_open (bool),
    orv_why (Grund, wenn offen, sonst None). Die Zahlen sind Bit fuer Bit
    die des Befehls.

    Fehler in den Argumenten oder Quellen geben TypeError oder ValueError
    mit der deutschen Meldung des Befehls; die Rechnung laeuft ohne die
    Sperre des Interpreters.
    """
    r = _run("assess", sources, (H, B, Vol, S, D), origin=origin, azimuth=azimuth, crs=crs,
             spacing=spacing, levels=levels, from_level=from_level, label=label,
             correct=correct, layer=layer, coords=coords, threads=threads)
    columns = _columns(r, label)
    if not frame:
        return columns
    try:
        import pandas
    except ImportError:
        raise ImportError("assess: frame=True braucht das Paket pandas, es ist nicht "
                          "installiert (frame=False gibt ein dict von NumPy-Feldern)") from None
    return pandas.DataFrame(columns)


def _known(d):
    return None if math.isinf(d) else d


def verdict(sources, *, H=None, B=None, Vol=None, S=None, D=None, origin=None, azimuth=None,
            crs=None, spacing=1.0, levels=(0.5, 1.0, 2.0), from_level=1, label=None,
            correct=False, layer=None, coords=None, threads=0):
    """Das Urteil ueber die Objekte der Quellen, wie die Zusammenfassung von `orvalis assess`.

    Die Argumente sind die von assess() (ohne frame). Gibt ein Verdict:
    answer "yes", "open" oder "no" (word "ja", "offen", "nein"), die
    Anzahlen, die Warnung, wenn jedes Objekt jenseits der Tabellen liegt
    (das Urteil "no" gilt dann nur, wo die Tabellen nicht hinreichen).
    Unlesbare Quellen oder Geometrien geben einen Fehler, nie "no".
    """
    r = _run("verdict", sources, (H, B, Vol, S, D), origin=origin, azimuth=azimuth, crs=crs,
             spacing=spacing, levels=levels, from_level=from_level, label=label,
             correct=correct, layer=layer, coords=coords, threads=threads)
    layers = tuple(r["layers"])
    total = lambda key: sum(l[key] for l in layers)
    levels_n = tuple(sum(l["levels"][k] for l in layers) for k in range(4))
    return Verdict(r["verdict"], _WORDS[r["verdict"]], total("features"), total("endangered"),
                   total("open"), total("settled"), levels_n, r["samples"],
                   _known(r["nearest"]), _known(r["reach"]), r["warning"], r["note"], layers)
