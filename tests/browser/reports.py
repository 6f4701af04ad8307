"""An HTML report of a small dam and three objects, made by the orvalis command."""
import os
import subprocess

SITE = ["-H", "3", "-B", "5", "--vol", "2000", "-S", "4", "-D", "0.1", "--origin",
        "2600000,1200000", "--azimuth", "90", "--crs", "EPSG:2056"]


def html_report(orvalis, folder):
    """The path of the report written into folder; raises on failure."""
    with open(os.path.join(folder, "objekte.csv"), "w", encoding="utf-8") as f:
        f.write("E,N,name\n2600030,1200000,Haus A\n2600200,1200050,Stall B\n"
                "2600500,1199950,Café C\n")
    subprocess.run([orvalis, "report", "objekte.csv", "--coords", "E,N"] + SITE +
                   ["--format", "html", "-o", "bericht.html"], cwd=folder, check=True,
                   capture_output=True)
    return os.path.join(folder, "bericht.html")
