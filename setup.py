"""Builds the package orvalis with the project's CMake build.

The extension module _orvalis is the CMake target orvalis_py, built with the
flags of the top-level CMakeLists.txt (the same as the programs': no fused
multiply-add, no fast math, position-independent code) for the interpreter
that runs this build. The CMake build tree is ORVALIS_CMAKE_BUILD_DIR when
set, else a folder in setuptools' build_temp; setuptools' own build folder
is build-python/ (git-ignored), never the project's build/.
"""

import os
import re
import shutil
import subprocess
import sys
import sysconfig
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


def version():
    """The project's version, from the top-level CMakeLists.txt."""
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(\S+\s+VERSION\s+([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    """Builds each extension as the CMake target orvalis_py and copies it in place."""

    def build_extension(self, ext):
        build = Path(os.environ.get("ORVALIS_CMAKE_BUILD_DIR")
                     or Path(self.build_temp).resolve() / "cmake")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                        "-DORV_TESTS=OFF", "-DORV_PYTHON=ON", "-DORV_SANITIZE=OFF",
                        f"-DPython_EXECUTABLE={sys.executable}"], check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "orvalis_py", "-j", jobs],
                       check=True)
        built = build / "python" / "orvalis" / ("_orvalis" + sysconfig.get_config_var("EXT_SUFFIX"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(
    version=version(),
    packages=["orvalis"],
    package_dir={"": "src/python"},
    ext_modules=[Extension("orvalis._orvalis", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": "build-python"},
             "egg_info": {"egg_base": "build-python"}},
)
