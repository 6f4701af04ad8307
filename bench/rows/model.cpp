// The model alone on the points of a CSV file of x,y rows: reads them all,
// then times evaluate() over them (site stage once, as orvalis batch does
// with the site given by options) and prints the best of several rounds.
// Usage: model PATH [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "csv/number.h"
#include "model/point.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: model PATH [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::ifstream in(argv[1]);
    std::string line;
    std::getline(in, line); // header
    std::vector<float> xs, ys;
    while (std::getline(in, line)) {
        const auto comma = line.find(',');
        xs.push_back(orv::read_real(line.substr(0, comma)).value);
        ys.push_back(orv::read_real(line.substr(comma + 1)).value);
    }
    const orv::site s = orv::make_site(orv::params{});
    double best = 1e30;
    unsigned long ok = 0;
    float sum = 0;
    for (int r = 0; r < rounds; ++r) {
        ok = 0;
        const auto t0 = std::chrono::steady_clock::now();
        for (std::size_t k = 0; k < xs.size(); ++k) {
            const orv::point_result p = orv::evaluate(s, xs[k], ys[k]);
            ok += p.st == 0;
            sum += p.res.q;
        }
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    std::printf("%zu %lu %.6f %g\n", xs.size(), ok, best, static_cast<double>(sum));
    return 0;
}
