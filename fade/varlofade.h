#pragma once

// The fade engine: text helpers, the fade builder and the preview renderer.
#include "fade/fadeerror.h"
#include "fade/fadestops.h"
#include "fade/fadetext.h"
#include "fade/hextext.h"
#include "fade/replacetext.h"
#include "fade/previewsurface.h"
#include "fade/renderhtmlpreview.h"
