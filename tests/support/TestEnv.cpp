#include "TestEnv.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace QmTest {

namespace {
std::string g_root;
std::atomic<int> g_counter{0};
}  // namespace

void SetRunFolder(const std::string& root) {
  g_root = root;
}

const std::string& RunFolder() {
  return g_root;
}

std::string NewTempFolder(const std::string& hint) {
  std::string path = g_root + "/" + hint + "-" + std::to_string(g_counter.fetch_add(1));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

int KillCount() {
  const char* text = std::getenv("QM_KILL_COUNT");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 100;
}

unsigned KillSeed() {
  const char* text = std::getenv("QM_KILL_SEED");
  return text ? unsigned(std::strtoul(text, nullptr, 10)) : std::random_device{}();
}

std::string SourceDir() {
  if (const char* dir = std::getenv("QM_SOURCE_DIR"); dir && *dir) {
    return dir;
  }
  return std::filesystem::current_path().string();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : _name(name) {
  if (const char* old = std::getenv(name)) {
    _had = true;
    _old = old;
  }
  setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv() {
  if (_had) {
    setenv(_name.c_str(), _old.c_str(), 1);
  } else {
    unsetenv(_name.c_str());
  }
}

}  // namespace QmTest
