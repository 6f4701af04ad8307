"""The styled vector outputs loaded as the desktop GIS loads them (PyQGIS,
headless): for a GeoPackage and a Shapefile of the zones, the judged
objects of assess and inventory and the register, the layer's renderer, its
rules or categories (filters, values, labels) and their colours are those of
the map pictures. Exit 77 (skipped) without PyQGIS, unless CI is set."""
import gc
import os
import subprocess
import sys
import tempfile

SKIP = 77


def skip(why):
    if os.environ.get("CI"):
        print("FAILED: " + why + " (CI is set: PyQGIS is required)")
        sys.exit(1)
    print("skipped: " + why)
    sys.exit(SKIP)


os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
try:
    from osgeo import ogr, osr
    from qgis.core import QgsApplication, QgsVectorLayer
except ImportError as e:
    skip("PyQGIS is not installed for " + sys.executable + " (" + str(e) + ")")

ORV = sys.argv[1] if len(sys.argv) > 1 else "orvalis"

# The pictures' colours (draw/style.*) in 8 bits: the levels 1 to 3, level
# 0, the zones without a result and their hatch, the objects without a
# result, their hatch and outline.
LEVEL = {0: (255, 255, 255), 1: (0xFE, 0xD9, 0x8E), 2: (0xFE, 0x99, 0x29), 3: (0x99, 0x34, 0x04)}
ZONE_GROUND, ZONE_HATCH = (240, 240, 240), (115, 115, 115)
NONE, HATCH, OUTLINE = (184, 184, 184), (89, 89, 89), (38, 38, 38)

SITE = ["-H", "3", "-B", "5", "--vol", "2000", "-S", "4", "-D", "0.1"]
BREACH = ["--origin", "2600000,1200000", "--azimuth", "90", "--crs", "EPSG:2056"]
RULE = {1: "h > 0.5 m oder q > 0.5 m\u00b2/s", 2: "h > 1 m oder q > 1 m\u00b2/s",
        3: "h > 2 m oder q > 2 m\u00b2/s"}

failures = []


def check(what, got, want):
    if got != want:
        failures.append("%s: %r, expected %r" % (what, got, want))


def rgb(c):
    return (c.red(), c.green(), c.blue())


def run(args, cwd):
    p = subprocess.run([ORV] + args, cwd=cwd, capture_output=True, text=True)
    if p.returncode not in (0,):
        failures.append("orvalis %s: exit %d: %s" % (" ".join(args), p.returncode, p.stderr))
    return p.returncode == 0


def make_objects(d):
    """Houses (polygons), a pipe (lines) and masts (points) along the jet,
    some near and some far, one upstream, so that every rule has objects."""
    ds = ogr.GetDriverByName("GPKG").CreateDataSource(os.path.join(d, "objekte.gpkg"))
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(2056)
    square = "POLYGON ((%d 1199995,%d 1199995,%d 1200005,%d 1200005,%d 1199995))"
    shapes = {
        "haus": (ogr.wkbPolygon, [square % (x, x + 10, x + 10, x, x)
                                  for x in (20, 120, 400, 900, -60)]),
        "leitung": (ogr.wkbLineString, ["LINESTRING (%d 1199990,%d 1200010)" % (x, x)
                                        for x in (30, 300, 2000)]),
        "mast": (ogr.wkbPoint, ["POINT (%d 1200000)" % x for x in (5, 60, 250, 3000)]),
    }
    for name, (kind, wkts) in shapes.items():
        layer = ds.CreateLayer(name, srs, kind)
        layer.CreateField(ogr.FieldDefn("name", ogr.OFTString))
        for k, wkt in enumerate(wkts):
            f = ogr.Feature(layer.GetLayerDefn())
            f.SetField("name", "%s %d" % (name, k + 1))
            f.SetGeometry(ogr.CreateGeometryFromWkt(shift(wkt)))
            layer.CreateFeature(f)
    ds = None


def shift(wkt):
    """Easting numbers below 10000 are offsets from the breach."""
    out = []
    for tok in wkt.replace("(", " ( ").replace(")", " ) ").replace(",", " , ").split():
        try:
            v = int(tok)
            out.append(str(2600000 + v) if abs(v) < 10000 else tok)
        except ValueError:
            out.append(tok)
    return " ".join(out).replace(" ( ", "(").replace(" ) ", ")").replace(" , ", ",")


def make_register(d):
    with open(os.path.join(d, "anlagen.csv"), "w") as f:
        f.write("E,N,H,B,Vol,S,D,azimuth\n")
        f.write("2600000,1200000,3,5,2000,4,0.1,90\n")     # reaches the houses: yes
        f.write("2610000,1210000,3,5,2000,4,0.1,90\n")     # nothing near: no
        f.write("2600100,1200000,3,-5,2000,4,0.1,90\n")    # B < 0: an error row


def layer_of(path, name=None):
    uri = path if name is None else path + "|layername=" + name
    layer = QgsVectorLayer(uri, name or "l", "ogr")
    if not layer.isValid():
        failures.append(path + ": not loadable")
        return None
    return layer


def symbol_colours(symbol):
    return [rgb(symbol.symbolLayer(i).color()) for i in range(symbol.symbolLayerCount())]


def classes(symbol):
    """The symbol's layers' classes, their sub-symbols' layers nested."""
    out = []
    for i in range(symbol.symbolLayerCount()):
        sl = symbol.symbolLayer(i)
        sub = sl.subSymbol()
        out.append(sl.layerType() + ("(" + ",".join(classes(sub)) + ")" if sub else ""))
    return out


def rules_of(layer, what):
    r = layer.renderer()
    check(what + " renderer", r.type(), "RuleRenderer")
    if r.type() != "RuleRenderer":
        return {}
    return {c.label(): c for c in r.rootRule().children()}



def every_feature_drawn(layer, what):
    """No feature without a symbol: an object the style would hide."""
    from qgis.core import QgsRenderContext
    r = layer.renderer().clone()
    ctx = QgsRenderContext()
    r.startRender(ctx, layer.fields())
    for f in layer.getFeatures():
        if not r.symbolsForFeature(f, ctx):
            failures.append("%s: feature %d drawn with no symbol" % (what, f.id()))
    r.stopRender(ctx)


def check_zones(layer, what):
    rules = rules_of(layer, what)
    for k in (1, 2, 3):
        label = "Stufe %d: %s" % (k, RULE[k])
        rule = rules.get(label)
        if rule is None:
            failures.append(what + ": no rule " + label)
            continue
        check(what + " filter " + label, rule.filterExpression(),
              "\"kind\" = 'level' AND \"level\" = %d" % k)
        check(what + " colour " + label, symbol_colours(rule.symbol()), [LEVEL[k]])
    for label, angle in (("Nicht berechnet: zu nahe an der Bresche", 45),
                         ("Nicht berechnet: jenseits der Tabellen", 135)):
        rule = rules.get(label)
        if rule is None:
            failures.append(what + ": no rule " + label)
            continue
        sym = rule.symbol()
        check(what + " layers " + label, classes(sym), ["SimpleFill", "LinePatternFill(SimpleLine)"])
        check(what + " ground " + label, rgb(sym.symbolLayer(0).color()), ZONE_GROUND)
        if sym.symbolLayerCount() > 1:
            check(what + " angle " + label, sym.symbolLayer(1).lineAngle(), angle)
            check(what + " hatch " + label, rgb(sym.symbolLayer(1).subSymbol().color()), ZONE_HATCH)
    check(what + " rules", len(rules), 5)


def check_objects(layer, what, labelled, points=False):
    """The judged objects' rules; points: the worst points' layer."""
    from qgis.core import QgsSymbol, QgsWkbTypes
    rules = rules_of(layer, what)
    if not rules:
        return
    want_type = {QgsWkbTypes.PointGeometry: QgsSymbol.Marker,
                 QgsWkbTypes.LineGeometry: QgsSymbol.Line,
                 QgsWkbTypes.PolygonGeometry: QgsSymbol.Fill}[layer.geometryType()]
    labels = ["Stufe 0 (darunter)"] + ["Stufe %d: %s" % (k, RULE[k]) for k in (1, 2, 3)]
    labels += ["nicht berechnet"] if points else ["offen", "teilweise berechnet", "nicht berechnet"]
    check(what + " labels", [c.label() for c in layer.renderer().rootRule().children()], labels)
    for k in range(4):
        rule = rules.get(labels[k])
        if rule is None:
            continue
        check(what + " filter " + labels[k], rule.filterExpression(), '"orv_level" = %d' % k)
        check(what + " symbol type " + labels[k], rule.symbol().type(), want_type)
        colours = symbol_colours(rule.symbol())
        if k > 0 and LEVEL[k] not in colours:
            failures.append("%s: %s not in the colour of level %d: %r" % (what, labels[k], k, colours))
    none = rules.get("nicht berechnet")
    if none is not None:
        check(what + " filter none", none.filterExpression(), '"orv_level" IS NULL')
        flat = str(classes(none.symbol()))
        drawn = symbol_colours(none.symbol()) + [rgb(c) for c in sub_colours(none.symbol())]
        if NONE not in drawn or HATCH not in drawn:
            failures.append("%s: nicht berechnet not grey and hatched: %s %r" % (what, flat, drawn))
    for label in ("offen", "teilweise berechnet"):
        rule = rules.get(label)
        if rule is not None and HATCH not in [rgb(c) for c in sub_colours(rule.symbol())] + \
                symbol_colours(rule.symbol()):
            failures.append("%s: %s not hatched" % (what, label))
    check(what + " order", layer.renderer().orderByEnabled(), True)
    check(what + " labels on", layer.labelsEnabled(), labelled)
    if labelled:
        check(what + " label field", layer.labeling().settings().fieldName,
              "orv_label" if points else "name")
    every_feature_drawn(layer, what)


def sub_colours(symbol):
    """The colours of the symbols inside a symbol's layers (hatch lines, a
    marker's fill), all the way down."""
    out = []
    for i in range(symbol.symbolLayerCount()):
        sub = symbol.symbolLayer(i).subSymbol()
        if sub:
            out += [sub.symbolLayer(j).color() for j in range(sub.symbolLayerCount())]
            out += sub_colours(sub)
    return out


def check_register(layer, what):
    r = layer.renderer()
    check(what + " renderer", r.type(), "categorizedSymbol")
    if r.type() != "categorizedSymbol":
        return
    check(what + " field", r.classAttribute(), "orv_answer")
    cats = [(c.value() or "", c.label()) for c in r.categories()]
    check(what + " categories", cats, [("yes", "ja"), ("no", "nein"), ("open", "offen"), ("", "Fehler")])
    colours = [symbol_colours(c.symbol()) + [rgb(x) for x in sub_colours(c.symbol())]
               for c in r.categories()]
    if len(colours) == 4:
        if LEVEL[3] not in colours[0] or LEVEL[0] not in colours[1] or NONE not in colours[2]:
            failures.append(what + ": colours of ja, nein, offen: %r" % colours[:3])
    every_feature_drawn(layer, what)
    errors = [f for f in layer.getFeatures() if f["orv_error"]]
    check(what + " error rows", len(errors), 1)


def check_all():
    """Every output written and checked; its layers gone on return."""
    with tempfile.TemporaryDirectory() as d:
        make_objects(d)
        make_register(d)
        objects = ["objekte.gpkg"]
        if run(["map"] + SITE + BREACH + ["--zones", "z.gpkg"], d):
            check_zones(layer_of(os.path.join(d, "z.gpkg"), "zonen"), "map --zones GeoPackage")
        if run(["map"] + SITE + BREACH + ["--zones", "z.shp"], d):
            check_zones(layer_of(os.path.join(d, "z.shp")), "map --zones Shapefile")
        if run(["assess"] + objects + SITE + BREACH + ["--label", "name", "-o", "a.gpkg"], d):
            for name in ("haus", "leitung", "mast"):
                check_objects(layer_of(os.path.join(d, "a.gpkg"), name), "assess -o GeoPackage " + name, True)
        for name in ("haus", "leitung", "mast"):
            out = "a_%s.shp" % name
            if run(["assess"] + objects + SITE + BREACH + ["--layer", name, "-o", out], d):
                check_objects(layer_of(os.path.join(d, out)), "assess -o Shapefile " + name, False)
        # A CSV's layer has any geometry: styled by the shape its features
        # share, left unstyled when they differ.
        with open(os.path.join(d, "punkte.csv"), "w") as f:
            f.write('WKT,name\n"POINT (2600020 1200000)",a\n"POINT (2600060 1200000)",b\n')
        with open(os.path.join(d, "gemischt.csv"), "w") as f:
            f.write('WKT,name\n"POINT (2600020 1200000)",a\n'
                    '"LINESTRING (2600060 1199990,2600060 1200010)",b\n')
        if run(["assess", "punkte.csv"] + SITE + BREACH + ["-o", "c.gpkg"], d):
            check_objects(layer_of(os.path.join(d, "c.gpkg"), "punkte"), "assess CSV points", False)
        if run(["assess", "gemischt.csv"] + SITE + BREACH + ["-o", "g.gpkg"], d):
            mixed = layer_of(os.path.join(d, "g.gpkg"), "gemischt")
            check("mixed geometries unstyled", mixed.renderer().type() if mixed else None,
                  "singleSymbol")
        register = ["inventory", "anlagen.csv", "--objects", "objekte.gpkg", "--keep-going"]
        p = subprocess.run([ORV] + register + ["-o", "r.gpkg", "--objects-out", "o.gpkg",
                                               "--zones", "iz.gpkg"],
                           cwd=d, capture_output=True, text=True)
        check("inventory GeoPackage exit", p.returncode, 3)
        if p.returncode == 3:
            check_register(layer_of(os.path.join(d, "r.gpkg"), "anlagen"), "inventory -o GeoPackage")
            for name in ("haus", "leitung", "mast"):
                check_objects(layer_of(os.path.join(d, "o.gpkg"), name),
                              "inventory --objects-out GeoPackage " + name, False)
            check_zones(layer_of(os.path.join(d, "iz.gpkg"), "zonen"), "inventory --zones GeoPackage")
        p = subprocess.run([ORV] + register + ["--layer", "haus", "-o", "r.shp", "--objects-out", "o.shp"],
                           cwd=d, capture_output=True, text=True)
        check("inventory Shapefile exit", p.returncode, 3)
        if p.returncode == 3:
            check_register(layer_of(os.path.join(d, "r.shp")), "inventory -o Shapefile")
            check_objects(layer_of(os.path.join(d, "o.shp")), "inventory --objects-out Shapefile", False)


def main():
    app = QgsApplication([], False)
    app.initQgis()
    check_all()
    # The layers must be gone before QGIS is: else its exit crashes.
    gc.collect()
    app.exitQgis()
    for f in failures:
        print("FAILED: " + f)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
