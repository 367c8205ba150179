#!/usr/bin/env python3
"""Writes data/dflt.3do, the sample model the editor opens at start-up:
a cut gem (crown, girdle, pavilion) resting on a square plinth."""
import math
import os

def norm(v):
    l = math.sqrt(sum(c * c for c in v)) or 1.0
    return tuple(c / l for c in v)

def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))

def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

def gem():
    n = 8
    verts = [(0.0, 0.0, 0.0)]  # culet
    for r, z, phase in ((0.04, 0.026, 0.0), (0.022, 0.042, math.pi / n)):
        for i in range(n):
            a = 2 * math.pi * i / n + phase
            verts.append((r * math.cos(a), r * math.sin(a), z))
    faces = []
    for i in range(n):  # pavilion
        faces.append([0, 1 + (i + 1) % n, 1 + i])
    for i in range(n):  # crown: one kite per girdle edge
        g0, g1 = 1 + i, 1 + (i + 1) % n
        t = 1 + n + i
        faces.append([g0, g1, t])
        faces.append([t, g1, 1 + n + (i + 1) % n])
    faces.append([1 + n + i for i in range(n)])  # table
    return verts, faces

def plinth():
    s, h = 0.05, 0.01
    verts = [(x, y, z) for z in (0.0, h) for y in (-s, s) for x in (-s, s)]
    faces = [[0, 2, 3, 1], [4, 5, 7, 6], [0, 1, 5, 4], [2, 6, 7, 3], [0, 4, 6, 2], [1, 3, 7, 5]]
    return verts, faces

def mesh_block(index, name, material, verts, faces, out):
    out.append(f"MESH {index}")
    out.append(f"NAME {name}")
    radius = max(math.sqrt(sum(c * c for c in v)) for v in verts)
    out.append(f"RADIUS {radius:.6f}")
    out.append("GEOMETRYMODE 4")
    out.append("LIGHTINGMODE 3")
    out.append("TEXTUREMODE 0")
    out.append("")
    out.append(f"VERTICES {len(verts)}")
    out.append("# num:     x:         y:         z:         i:")
    for i, v in enumerate(verts):
        out.append(f"{i:5}: {v[0]:10.6f} {v[1]:10.6f} {v[2]:10.6f} {0.0:10.6f}")
    out.append("")
    out.append(f"TEXTURE VERTICES {len(verts)}")
    for i, v in enumerate(verts):
        out.append(f"{i:5}: {v[0] * 8 + 0.5:10.6f} {v[1] * 8 + 0.5:10.6f}")
    out.append("")
    out.append("VERTEX NORMALS")
    for i, v in enumerate(verts):
        nv = norm(v)
        out.append(f"{i:5}: {nv[0]:10.6f} {nv[1]:10.6f} {nv[2]:10.6f}")
    out.append("")
    out.append(f"FACES {len(faces)}")
    out.append("#  num:  material:   type:  geo:  light:   tex:  extralight:  verts:")
    for i, f in enumerate(faces):
        corners = " ".join(f"{v:3},{v:3}" for v in f)
        out.append(f"{i:6}: {material:9} 0x0000 {4:5} {3:6} {0:6} {0.0:12.6f} {len(f):6} {corners}")
    out.append("")
    out.append("FACE NORMALS")
    for i, f in enumerate(faces):
        a, b, c = (verts[k] for k in f[:3])
        n = norm(cross(sub(b, a), sub(c, a)))
        out.append(f"{i:5}: {n[0]:10.6f} {n[1]:10.6f} {n[2]:10.6f}")
    out.append("")

def main():
    out = ["# Facetor sample model: a cut gem on a plinth.", "", "SECTION: HEADER", "", "3DO 2.1", "",
           "SECTION: MODELRESOURCE", "", "# Materials list", "MATERIALS 2", "",
           "     0:      gem.mat", "     1:     base.mat", "",
           "SECTION: GEOMETRYDEF", "", "# Object radius", "RADIUS     0.100000", "",
           "# Insertion offset", "INSERT OFFSET 0.000000 0.000000 0.000000", "",
           "# Number of Geometry Sets", "GEOSETS 1", "", "GEOSET 0", "",
           "# Number of Meshes", "MESHES 2", ""]
    gv, gf = gem()
    pv, pf = plinth()
    mesh_block(0, "gem", 0, gv, gf, out)
    mesh_block(1, "plinth", 1, pv, pf, out)
    out += ["SECTION: HIERARCHYDEF", "", "# Hierarchy node list", "HIERARCHY NODES 2", "",
            "#  num:   flags:   type:    mesh:  parent:  child:  sibling:  numChildren:"
            "        x:         y:         z:     pitch:       yaw:      roll:    pivotx:    pivoty:    pivotz:  hnodename:",
            "     0:  0x0000 0x00001       1       -1       1       -1            1"
            "   0.000000   0.000000   0.000000   0.000000   0.000000   0.000000   0.000000   0.000000   0.000000  plinth",
            "     1:  0x0000 0x00001       0        0      -1       -1            0"
            "   0.000000   0.000000   0.010000   0.000000   0.000000   0.000000   0.000000   0.000000   0.000000  gem",
            ""]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "dflt.3do")
    with open(path, "wb") as f:
        f.write(("\r\n".join(out)).encode("ascii"))

main()
