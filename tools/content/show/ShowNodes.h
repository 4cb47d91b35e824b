// Small builders the parts of the show share: groups, shapes from meshes,
// plain colours and additive glows.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/math/Color.h"

namespace zel {

class ColorEffect;
class GeometryNodeEffect;
class MeshBuilder;
class Node;
class SceneNode;
class Triangles;

// An empty scene node that grows by four children at a time.
Pointer<SceneNode> MakeGroup(const char* name);
// Appends `child` to `parent`; false when either is null or it fails.
bool AddChild(SceneNode* parent, Node* child);
// The mesh as a node drawn with `effect` (null when either is missing);
// `secondSet` keeps the second coordinate set, `tangents` makes tangents.
Pointer<Triangles> MakeShape(const MeshBuilder& mesh, const char* name, GeometryNodeEffect* effect,
                             bool secondSet = false, bool tangents = false);
// A flat colour effect.
Pointer<ColorEffect> PlainColor(const ColorRGBA& color);
// Additive glow for sprites, flares and lit panes: added where drawn, no
// depth writes, both faces.
void MakeGlowing(GeometryNodeEffect& effect);

}  // namespace zel
