#include "app/ProcessState.h"

#include <atomic>

namespace {
std::atomic<bool> g_cameraHighRes{false};
std::atomic<bool> g_cameraQuirksFailed{false};
} // namespace

namespace ProcessState {

bool cameraHighRes() { return g_cameraHighRes; }
void setCameraHighRes(bool value) { g_cameraHighRes = value; }
bool cameraQuirksFailed() { return g_cameraQuirksFailed; }
void setCameraQuirksFailed(bool value) { g_cameraQuirksFailed = value; }

} // namespace ProcessState
