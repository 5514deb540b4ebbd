#include "Well.h"
