#include "Well.h"

#include <gtest/gtest.h>
