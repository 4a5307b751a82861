#pragma once

#include <vector>

#include "base/result.h"
#include "configure/resources/resource_data.h"
#include "configure/resources/resource_tree.h"

// Puts a launcher's own resources into an executable's resources: the setting entries of the
// string table (other entries of the same blocks stay), the splash pictures, the icon, the
// version and the manifest replace theirs (a high-DPI splash picture the new ones lack is
// removed); every other resource stays as it was.
// Refused when the executable has no icon id left for the new icon's images.
Result<void> applyLauncherResources(ResourceTree& tree, const std::vector<Resource>& launcherResources);
