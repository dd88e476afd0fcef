#include "runningmarker.h"

RunningMarker::RunningMarker() = default;

RunningMarker::~RunningMarker() = default;
