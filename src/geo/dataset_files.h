// Every file of a vector dataset, and whether an output would write over one
// of an input's.
#pragma once
#include <string>
#include <vector>

namespace orv::geo {

// Which kinds of dataset GDAL may open to list a dataset's files.
enum class kinds { vector, raster, both };

// The files GDAL lists for the dataset at path, opened as the kinds k;
// empty when path is no file or folder, GDAL cannot open it or lists
// nothing. GDAL's messages are collected, never printed: a CSV tried as a
// raster makes GDAL complain.
std::vector<std::string> listed_files(const std::string& path, kinds k);

// The files of the dataset at path: path itself, the files GDAL lists for
// it (a Shapefile's .shp .shx .dbf .prj .cpg ...) and the journals and aux
// files beside each that exist (-wal, -shm, -journal, .aux.xml).
std::vector<std::string> dataset_files(const std::string& path);

// The first of inputs whose dataset shares a file with the dataset that
// writing out would replace (out itself and, when it exists, its own
// files), also through links; "" when none.
std::string input_overwritten(const std::string& out, const std::vector<std::string>& inputs);

} // namespace orv::geo
