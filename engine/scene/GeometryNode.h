// A drawable leaf: the vertex attribute buffers, an index buffer, a
// model-space bound and the one effect that draws it. The concrete classes
// (Points, Lines, StripLines, Triangles) fix how the indices are read.
#pragma once

#include "engine/core/Buffer.h"
#include "engine/scene/Node.h"
#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

class GeometryNodeEffect;

class GeometryNode : public Node {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kPoints = 0;
    static constexpr int32_t kLineList = 1;
    static constexpr int32_t kLineStrip = 2;
    static constexpr int32_t kTriangleList = 3;
    // No class of ours draws strips; the device renderer knows the kind.
    static constexpr int32_t kTriangleStrip = 4;
    static constexpr int32_t kTexCoordUnits = 8;

    // A new sphere as model bound (logged when it cannot be allocated).
    explicit GeometryNode(const String& name = String());
    // Releases the buffers, the effect (leaving it without an owner node)
    // and the model bound.
    ~GeometryNode() override;

    // Parent data, then the effect, vertices, point sizes, colours, normals,
    // tangents, the eight texture-coordinate buffers and the indices (all
    // links) and the model bound's type code. Loading goes through the
    // setters in that order (so the tangents survive SetVertices) and fits
    // the model bound to the vertices. Positions and texture coordinates
    // must be float, 2-, 3- or 4-vector buffers.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Node search, then the effect, the buffers in stream order, the model
    // bound.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // Node's links, then the effect (its owner cleared when dropped), the
    // buffers and the model bound.
    void VisitLinks(LinkVisitor& visitor) override;

    // As Node, then the effect's UpdateEffect.
    void UpdateSelf(double time) override;
    // Nothing without an enabled effect. A blended effect defers the node,
    // keyed by the squared distance from its bound's centre to the camera;
    // otherwise DrawDeferred.
    void Draw(Renderer& renderer) override;
    // The model bound transformed by the world transform; skipped while the
    // model bound, the world transform (its stamp) and the world bound hold
    // what the last run read and wrote.
    void UpdateBound() override;

    // 0 points, 1 line list, 2 line strip, 3 triangle list.
    virtual int32_t GetPrimitiveType() const = 0;
    // Per-vertex normals and tangents; nothing here.
    virtual void GenerateNormals();
    virtual void GenerateTangents(int32_t unit);
    // Fits the model bound to the vertices when they are a 3-vector buffer.
    virtual void ComputeModelBound();
    // ComputeModelBound, then GenerateNormals and GenerateTangents(0) as
    // asked.
    virtual void UpdateModel(bool normals, bool tangents);
    // Makes the node current and runs every pass of the effect's technique:
    // BeginPass, the pass's Draw, DrawIndexed when Draw returns 0, and the
    // light stack emptied after each pass.
    virtual void DrawDeferred(Renderer& renderer);

    // Each setter replaces the reference and refreshes the passes of the
    // effect's chosen technique (they record the streams they bind).
    // SetVertices also drops the tangents.
    void SetVertices(Buffer* buffer);
    void SetPointSizes(FloatBuffer* buffer);
    void SetColors(ColorBuffer* buffer);
    void SetNormals(Vector3Buffer* buffer);
    void SetTangents(Vector3Buffer* buffer);
    // Units outside 0..7 are ignored.
    void SetTexCoords(int32_t unit, Buffer* buffer);
    void SetIndices(IntBuffer* buffer);
    // Replaces the effect and makes this node its owner node; the previous
    // effect loses its owner node.
    void SetEffect(GeometryNodeEffect* effect);

    Buffer* GetVertices() const { return vertices_; }
    FloatBuffer* GetPointSizes() const { return pointSizes_; }
    ColorBuffer* GetColors() const { return colors_; }
    Vector3Buffer* GetNormals() const { return normals_; }
    Vector3Buffer* GetTangents() const { return tangents_; }
    // Null for units outside 0..7.
    Buffer* GetTexCoords(int32_t unit) const;
    IntBuffer* GetIndices() const { return indices_; }
    GeometryNodeEffect* GetEffect() const { return effect_; }
    // Null when it could not be allocated.
    BoundingVolume* GetModelBound() const { return modelBound_; }

    // The positions as 3-vectors, or null when the vertices are of another
    // kind.
    Vector3Buffer* GetPositions3() const;
    // The number of indices (0 without an index buffer).
    int32_t GetIndexCount() const;

    // True for the kinds that can hold positions or texture coordinates:
    // float, 2-, 3- and 4-vector buffers.
    static bool IsCoordinateBuffer(const Buffer* buffer);

private:
    void GeometryChanged();
    int32_t LoadBuffers(Stream& stream);
    int32_t LoadModelBound(Stream& stream);

    // The update's fields first, next to Node's (see there).
    Pointer<GeometryNodeEffect> effect_;
    Pointer<BoundingVolume> modelBound_;
    // What UpdateBound last read and wrote; stamp 0 never matches.
    uint64_t boundWorldStamp_ = 0;
    SphereBits boundModel_;
    SphereBits boundResult_;
    Pointer<Buffer> vertices_;
    Pointer<FloatBuffer> pointSizes_;
    Pointer<ColorBuffer> colors_;
    Pointer<Vector3Buffer> normals_;
    Pointer<Vector3Buffer> tangents_;
    Pointer<Buffer> texCoords_[kTexCoordUnits];
    Pointer<IntBuffer> indices_;
};
ZEL_REGISTER_ABSTRACT_CLASS(GeometryNode)

}  // namespace zel
