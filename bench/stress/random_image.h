#pragma once

#include "core/image/radio_image.h"
#include "stress/rng.h"

namespace norvik::stress {

// An image as radios come in: the new-image defaults with channels of every kind (empty, simplex,
// split, receive only, a few with junk bytes), and now and then odd option bytes, other band
// limits, a band-limit row that fails its check, and filled service rows.
RadioImage randomImage(Rng& rng, const RadioImage& defaults);

} // namespace norvik::stress
