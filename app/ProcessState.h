#pragma once

// Process-wide facts gathered by the start-up code before the back end exists
// and read later by the capture code and by Worker.
namespace ProcessState {

bool cameraHighRes();
void setCameraHighRes(bool value);

// Set when camera quirks were requested but root rights could not be obtained
// to reload the camera driver.
bool cameraQuirksFailed();
void setCameraQuirksFailed(bool value);

} // namespace ProcessState
