#include "runningmarker.h"

RunningMarker::RunningMarker(Program)
{
}

RunningMarker::~RunningMarker() = default;
