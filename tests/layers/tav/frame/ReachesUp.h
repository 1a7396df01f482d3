// A frame header that uses the command layer above it: the layer check must refuse this tree.
#include "tav/command/TavCommon.h"
