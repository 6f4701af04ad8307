#!/usr/bin/env python3
"""The zonal maximum of band 1 of a level raster per footprint, as a GIS
user would script it with GDAL and NumPy: the raster read once, each
footprint burnt into a window of its envelope (cells whose centres lie
inside), the maximum over the cells with a level written to a CSV.

Usage: peer_zonal.py RASTER FOOTPRINTS.gpkg LAYER OUT.csv
"""
import sys

import numpy as np
from osgeo import gdal, ogr

gdal.UseExceptions()
NO_VALUE = 255


def main():
    raster, vector, layer_name, out = sys.argv[1:5]
    ds = gdal.Open(raster)
    gt = ds.GetGeoTransform()
    level = ds.GetRasterBand(1).ReadAsArray()
    ny, nx = level.shape
    src = ogr.Open(vector)
    layer = src.GetLayerByName(layer_name)
    mem = ogr.GetDriverByName("Memory").CreateDataSource("")
    one = mem.CreateLayer("f", layer.GetSpatialRef(), ogr.wkbPolygon)
    with open(out, "w") as fh:
        fh.write("fid,level\n")
        for f in layer:
            e0, e1, n0, n1 = f.GetGeometryRef().GetEnvelope()
            i0 = max(0, int((e0 - gt[0]) / gt[1]))
            i1 = min(nx, int((e1 - gt[0]) / gt[1]) + 1)
            j0 = max(0, int((n1 - gt[3]) / gt[5]))
            j1 = min(ny, int((n0 - gt[3]) / gt[5]) + 1)
            z = ""
            if i0 < i1 and j0 < j1:
                win = gdal.GetDriverByName("MEM").Create("", i1 - i0, j1 - j0, 1, gdal.GDT_Byte)
                win.SetGeoTransform((gt[0] + i0 * gt[1], gt[1], 0, gt[3] + j0 * gt[5], 0, gt[5]))
                g = ogr.Feature(one.GetLayerDefn())
                g.SetGeometry(f.GetGeometryRef())
                one.CreateFeature(g)
                gdal.RasterizeLayer(win, [1], one, burn_values=[1])
                one.DeleteFeature(g.GetFID())
                inside = win.GetRasterBand(1).ReadAsArray() == 1
                vals = level[j0:j1, i0:i1][inside]
                vals = vals[vals != NO_VALUE]
                if vals.size:
                    z = str(int(vals.max()))
            fh.write(f"{f.GetFID()},{z}\n")


main()
