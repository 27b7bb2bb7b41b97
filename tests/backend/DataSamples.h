#pragma once

#include "backend/ProjectFile.h"

#include <QVariantMap>

// Sample data of the operator's files, every key with a value other than its
// default, for the round trips of the data file tests.
ProjectFile::Data sampleProject();
QVariantMap sampleFeeder(int i);
