// The harbour's ground: a height-field mesh in square tiles, with a colour
// map painted from the grass, sand, rock and stone pictures and a light map
// baked from the setting sun, with the hills' shadows.
#pragma once

namespace zel {

class ShowAssets;
struct ShowWorld;

// The ground's two parts into the world: `ground`, the land and the shore's
// cells, which the view shows, and `seabed`, the cells wholly below the
// sea's level, which only the sea's refraction image shows. 0 ok; 1 when
// something could not be made (reported).
int BuildGround(ShowAssets& assets, ShowWorld& world);

}  // namespace zel
