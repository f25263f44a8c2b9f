//------------------------------------------------------------------------------
//  nd3d9server_shapes.cc -- the five debug shape meshes of nD3D9Server,
//  built here as coord-and-normal meshes around the origin: a unit box, a
//  cylinder of radius 1 and length 1 along z, a sphere of radius 1
//------------------------------------------------------------------------------
#include "gfx2/nd3d9server.h"
#include "gfx2/nmesh2.h"

#include <cmath>
#include <vector>

namespace
{

const float Pi = 3.14159265f;

/// a mesh being built: six floats (coord, normal) per vertex, triangle indices
struct ShapeBuilder
{
    std::vector<float> vertices;
    std::vector<unsigned short> indices;

    int NumVertices() const { return (int)(this->vertices.size() / 6); }

    void Vertex(float x, float y, float z, float nx, float ny, float nz)
    {
        for (float f : {x, y, z, nx, ny, nz}) this->vertices.push_back(f);
    }

    /// a grid of (rows+1) x (cols+1) vertices from f(u, v) (0..1 each),
    /// two triangles per cell; f writes position and normal
    template <class F> void Grid(int rows, int cols, F f)
    {
        const int first = this->NumVertices();
        for (int r = 0; r <= rows; r++)
        {
            for (int c = 0; c <= cols; c++)
            {
                float p[3], n[3];
                f((float)c / cols, (float)r / rows, p, n);
                this->Vertex(p[0], p[1], p[2], n[0], n[1], n[2]);
            }
        }
        for (int r = 0; r < rows; r++)
        {
            for (int c = 0; c < cols; c++)
            {
                const int a = first + r * (cols + 1) + c;
                const int b = a + cols + 1;
                for (int i : {a, b, a + 1, a + 1, b, b + 1}) this->indices.push_back((unsigned short)i);
            }
        }
    }

    void Sphere(float cx, float cy, float cz, float rx, float ry, float rz)
    {
        this->Grid(12, 16, [=](float u, float v, float* p, float* n) {
            const float theta = v * Pi, phi = u * 2.0f * Pi;
            n[0] = std::sin(theta) * std::cos(phi);
            n[1] = std::cos(theta);
            n[2] = std::sin(theta) * std::sin(phi);
            p[0] = cx + rx * n[0];
            p[1] = cy + ry * n[1];
            p[2] = cz + rz * n[2];
        });
    }

    /// a closed cylinder along z from z0 to z1: one along y from z0 to z1,
    /// turned a quarter about x
    void Cylinder(float radius, float z0, float z1)
    {
        const int first = this->NumVertices();
        this->CylinderAlongY(radius, z0, z1);
        for (size_t i = size_t(first) * 6; i < this->vertices.size(); i += 3)
        {
            const float y = this->vertices[i + 1];
            this->vertices[i + 1] = -this->vertices[i + 2];
            this->vertices[i + 2] = y;
        }
    }

    void CylinderAlongY(float radius, float y0, float y1)
    {
        this->Grid(1, 16, [=](float u, float v, float* p, float* n) {
            const float phi = u * 2.0f * Pi;
            n[0] = std::cos(phi);
            n[1] = 0.0f;
            n[2] = std::sin(phi);
            p[0] = radius * n[0];
            p[1] = y0 + v * (y1 - y0);
            p[2] = radius * n[2];
        });
        for (float y : {y0, y1})
        {
            const float ny = (y == y0) ? -1.0f : 1.0f;
            this->Grid(1, 16, [=](float u, float v, float* p, float* n) {
                const float phi = u * 2.0f * Pi;
                p[0] = v * radius * std::cos(phi);
                p[1] = y;
                p[2] = v * radius * std::sin(phi);
                n[0] = 0.0f;
                n[1] = ny;
                n[2] = 0.0f;
            });
        }
    }

    /// a torus around the y axis, or a part of it (sweep < 1) turned about x
    void Torus(float major, float minor, float sweep, float cx, float cy, bool upright)
    {
        this->Grid(12, 24, [=](float u, float v, float* p, float* n) {
            const float a = u * 2.0f * Pi * sweep, b = v * 2.0f * Pi;
            float nx = std::cos(b) * std::cos(a), ny = std::sin(b), nz = std::cos(b) * std::sin(a);
            float px = (major + minor * std::cos(b)) * std::cos(a), py = minor * std::sin(b),
                  pz = (major + minor * std::cos(b)) * std::sin(a);
            if (upright)
            {
                std::swap(py, pz);
                std::swap(ny, nz);
            }
            p[0] = cx + px;
            p[1] = cy + py;
            p[2] = pz;
            n[0] = nx;
            n[1] = ny;
            n[2] = nz;
        });
    }

    void Box()
    {
        // each face: its normal and two axes across it
        static const float faces[6][9] = {
            {1, 0, 0, 0, 1, 0, 0, 0, 1},  {-1, 0, 0, 0, 1, 0, 0, 0, 1}, {0, 1, 0, 1, 0, 0, 0, 0, 1},
            {0, -1, 0, 1, 0, 0, 0, 0, 1}, {0, 0, 1, 1, 0, 0, 0, 1, 0},  {0, 0, -1, 1, 0, 0, 0, 1, 0},
        };
        for (const auto& f : faces)
        {
            this->Grid(1, 1, [&f](float u, float v, float* p, float* n) {
                for (int k = 0; k < 3; k++)
                {
                    p[k] = 0.5f * f[k] + (u - 0.5f) * f[3 + k] + (v - 0.5f) * f[6 + k];
                    n[k] = f[k];
                }
            });
        }
    }
};

}  // namespace

/*
 * CreateShapeMeshes --
 *     Side effects: the box, cylinder, sphere, torus and teapot meshes
 *     (coord and normal, unit size) are made and filled once the device
 *     is open; a shape the device cannot make stays missing (reported).
 */
void nD3D9Server::CreateShapeMeshes()
{
    ShapeBuilder shapes[5];
    shapes[Box].Box();
    shapes[Cylinder].Cylinder(1.0f, -0.5f, 0.5f);
    shapes[Sphere].Sphere(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    shapes[Torus].Torus(0.35f, 0.15f, 1.0f, 0.0f, 0.0f, false);
    // a teapot of simple parts: body, lid knob, handle and spout
    shapes[Teapot].Sphere(0.0f, 0.0f, 0.0f, 0.5f, 0.35f, 0.5f);
    shapes[Teapot].Sphere(0.0f, 0.38f, 0.0f, 0.08f, 0.06f, 0.08f);
    shapes[Teapot].Torus(0.18f, 0.04f, 1.0f, -0.5f, 0.05f, true);
    shapes[Teapot].Torus(0.3f, 0.05f, 0.25f, 0.4f, -0.25f, true);
    static const char* const names[5] = {"shape_box", "shape_cylinder", "shape_sphere", "shape_torus",
                                         "shape_teapot"};
    for (int i = 0; i < 5; i++)
    {
        // a missing box makes every BeginShapes come here again, and the
        // pool would hand the shapes already held out with one more count
        if (this->shapeMeshes[i].isvalid()) continue;
        nMesh2* mesh = this->NewMesh(names[i]);
        if (!mesh)
        {
            continue;
        }
        if (!mesh->IsLoaded())
        {
            mesh->SetUsage(nMesh2::WriteOnce);
            mesh->SetVertexComponents(nMesh2::Coord | nMesh2::Normal);
            mesh->SetNumVertices(shapes[i].NumVertices());
            mesh->SetNumIndices((int)shapes[i].indices.size());
            if (mesh->Load())
            {
                float* v = mesh->LockVertices();
                if (v) std::copy(shapes[i].vertices.begin(), shapes[i].vertices.end(), v);
                mesh->UnlockVertices();
                ushort* ix = mesh->LockIndices();
                if (ix) std::copy(shapes[i].indices.begin(), shapes[i].indices.end(), ix);
                mesh->UnlockIndices();
            }
        }
        if (!mesh->IsLoaded())
        {
            n_printf("nD3D9Server: the shape mesh '%s' could not be made\n", names[i]);
            mesh->Release();
            continue;
        }
        this->shapeMeshes[i].adopt(mesh);
    }
}

void nD3D9Server::ReleaseShapeMeshes()
{
    for (nStrongRef<nMesh2>& ref : this->shapeMeshes)
    {
        ref.reset();
    }
}
