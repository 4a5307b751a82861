#pragma once

#include <vector>

#include "configure/resources/resource_data.h"

// The resources in the compiled resource file form (.res) that the resource compiler links in.
Bytes resFileBytes(const std::vector<Resource>& resources);
