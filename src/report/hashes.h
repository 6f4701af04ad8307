// Fingerprints of a report's inputs: SHA-256 of every file of every dataset.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace orv::report {

// The SHA-256 of the file at path as lowercase hex; false with a German
// reason in why.
bool sha256_file(const std::string& path, std::string& hex, std::string& why);

// Every file of the datasets at paths (as GDAL lists them: a Shapefile's
// .shp, .shx, .dbf, .prj...), each once, with its SHA-256, sorted by path;
// false with a German reason naming the file.
bool dataset_hashes(const std::vector<std::string>& paths,
                    std::vector<std::pair<std::string, std::string>>& out, std::string& why);

} // namespace orv::report
