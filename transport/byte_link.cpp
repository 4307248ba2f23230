#include "transport/byte_link.h"
