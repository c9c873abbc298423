#include "decode/channel_store.h"
