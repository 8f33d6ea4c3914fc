// The hardware render system over the recording device: the calls it makes,
// in order, for start-up, frames, images, clip rectangles, lost devices and
// screenshots. No display is needed.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FontTestUtil.h"
#include "ImageTestUtil.h"
#include "LogCapture.h"
#include "RecordingGfx.h"
#include "TestEnv.h"
#include "app/AppWindow.h"
#include "core/Exception.h"
#include "font/Font.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "render/RenderSystemHardware.h"
#include "render/RendersManager.h"

namespace {

using namespace LLF;
using QmTest::GfxScript;

// An image whose pixel (x, y) is (x, y, 7, 255) with the given grid.
std::unique_ptr<Image> Picture(unsigned w, unsigned h, unsigned cells = 1, unsigned loops = 1,
                               unsigned format = IMGFORMAT_R8G8B8A8) {
  auto image = std::make_unique<Image>(w, h, format);
  for (unsigned y = 0; y < h; ++y) {
    for (unsigned x = 0; x < w; ++x) {
      const Color c(uint8_t(x), uint8_t(y), 7, 255);
      image->SetPixel(int(x), int(y), &c);
    }
  }
  image->SetCellsCount(cells, true);
  image->SetLoopsCount(loops, true);
  return image;
}

// The four corners of a recorded fan: x, y, u, v each.
struct Corner {
  float x, y, u, v;
};
std::vector<Corner> Corners(const GfxScript::Draw& draw) {
  std::vector<Corner> corners;
  for (size_t i = 0; i + 24 <= draw.vertices.size(); i += 24) {
    TexturedVertex v;
    std::memcpy(&v, draw.vertices.data() + i, 24);
    corners.push_back({v.x, v.y, v.u, v.v});
  }
  return corners;
}

class RenderSystemHardwareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RenderSystemHardware::SetGfxLibrary(&_gfx);
    AppSettings* window = AppWindow::GetInstance().GetSettings();
    _savedWindow = *window;
    window->width = 800;
    window->height = 600;
  }
  void TearDown() override {
    _images.clear();
    rs.Destroy();
    RenderSystemHardware::SetGfxLibrary(nullptr);
    *AppWindow::GetInstance().GetSettings() = _savedWindow;
  }

  GfxScript& Script() { return _gfx.Script(); }

  void Start(const RenderSettings& settings = RenderSettings()) {
    ASSERT_TRUE(rs.Init(settings));
    Script().ClearRecord();
  }
  void StartFrame() {
    ASSERT_TRUE(rs.BeginFrame());
    Script().ClearRecord();
  }

  Image* Keep(std::unique_ptr<Image> image) {
    _images.push_back(std::move(image));
    return _images.back().get();
  }

  RenderSystemHardware& rs = RenderSystemHardware::GetInstance();
  QmTest::CurrentRender _current{&rs};
  QmTest::RecordingGfx _gfx;
  AppSettings _savedWindow;
  std::vector<std::unique_ptr<Image>> _images;
};

TEST_F(RenderSystemHardwareTest, InitCreatesTheDeviceAndLogsWhatItFound) {
  AppWindow::GetInstance().GetSettings()->width = 640;  // below the smallest back buffer
  AppWindow::GetInstance().GetSettings()->height = 480;
  QmTest::LogCapture log;
  ASSERT_TRUE(rs.Init(RenderSettings()));
  EXPECT_EQ(Script().Calls("CreateDevice"),
            std::vector<std::string>{
                "CreateDevice 800x600 format=22 windowed=1 swap=4 interval=0x0 depth=0 flags=0x24"});
  const std::vector<std::wstring> expected = {L"Initializing RenderSystemHardware...",
                                              L"D3D8 driver: fake driver",
                                              L"Version: 1.2.3.4",
                                              L"Video mode: 800 x 600 x 32. Format: 22",
                                              L"Render system caps: Max texture size 1024 x 1024. Rect "
                                              L"textures supported - yes. Max aspect ratio: 65536",
                                              L"RenderSystemHardware initialized successfully."};
  EXPECT_EQ(log.Lines(), expected);
  // The fixed states, the view for the whole back buffer, and the base
  // transform on the stack.
  for (const char* call :
       {"SetRenderState CULLMODE 3", "SetRenderState ALPHATESTENABLE 1", "SetRenderState ALPHAREF 1",
        "SetRenderState ALPHAFUNC 7", "SetRenderState DESTBLEND 6", "SetRenderState ZENABLE 0",
        "SetTextureStageState 0 MAGFILTER 2", "SetViewport 0 0 800 600 0 10000"}) {
    EXPECT_EQ(Script().Count(call), 1u) << call;
  }
  Matrix4 top = Matrix4::Translation(Vector3(1, 2, 3));
  rs.GetTransform(top);
  EXPECT_EQ(top.m[3][0], 0.0f);
  EXPECT_TRUE(rs.IsKindOf("RenderSystemHardware") && rs.IsKindOf("IRenderSystem") && rs.IsHardware());

  // Full screen with a depth buffer and no vertical sync.
  rs.Destroy();
  RenderSettings full;
  full.windowed = false;
  full.verticalSync = false;
  full.depthBuffer = true;
  full.textureFiltering = false;
  Script().ClearRecord();
  ASSERT_TRUE(rs.Init(full));
  EXPECT_EQ(Script().Calls("CreateDevice"),
            std::vector<std::string>{
                "CreateDevice 800x600 format=22 windowed=0 swap=2 interval=0x80000000 depth=1 flags=0x24"});
  EXPECT_EQ(Script().Count("SetRenderState ZENABLE 1"), 1u);
  EXPECT_EQ(Script().Count("SetTextureStageState 0 MAGFILTER 1"), 1u);
}

TEST_F(RenderSystemHardwareTest, InitFailuresAndFallbacks) {
  struct Case {
    const char* name;
    void (*script)(GfxScript&);
    bool windowed;
    bool fallback;
    bool result;
    const wchar_t* line;
    const char* device;  // start of the CreateDevice call, or "" for none
  };
  const Case cases[] = {
      {"no library", [](GfxScript& s) { s.loadFails = true; }, true, true, false,
       L"Can't load D3D8.dll\r\nRender information:\r\nRenderSystemHardware. Render API: Direct3D8", ""},
      {"no system", [](GfxScript& s) { s.createSystemFails = true; }, true, true, false,
       L"Direct3DCreate8 failed.", ""},
      {"desktop unknown, no fallback", [](GfxScript& s) { s.displayModeFails = true; }, true, false, false,
       L"GetAdapterDisplayMode failed or format unknown.", ""},
      {"desktop format unknown, fallback", [](GfxScript& s) { s.desktop.format = 0; }, true, true, true,
       L"Warning: windowed mode can't be set, automatically changed to fullscreen.",
       "CreateDevice 800x600 format=22 windowed=0"},
      {"no full-screen mode, no fallback", [](GfxScript& s) { s.modes.clear(); }, false, false, false,
       L"EnumAdapterModes don't have appropriate video format.", ""},
      {"no full-screen mode, fallback",
       [](GfxScript& s) {
         s.modes = {{800, 600, 60, 23}};
       },
       false, true, true, L"Warning: fullscreen mode can't be set, automatically changed to windowed.",
       "CreateDevice 800x600 format=22 windowed=1"},
      {"neither mode",
       [](GfxScript& s) {
         s.displayModeFails = true;
         s.modes.clear();
       },
       true, true, false, L"Can't find necessary video mode in both cases - windowed and fullscreen.", ""},
      {"device refused", [](GfxScript& s) { s.createDeviceFails = true; }, true, true, false,
       L"Initialization of hardware render system failed - CreateDevice failed.", "CreateDevice"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rs.Destroy();
    Script() = GfxScript();
    c.script(Script());
    RenderSettings settings;
    settings.windowed = c.windowed;
    settings.modeFallbackAllowed = c.fallback;
    QmTest::LogCapture log;
    EXPECT_EQ(rs.Init(settings), c.result);
    EXPECT_TRUE(log.Count(c.line) > 0);
    const auto devices = Script().Calls("CreateDevice");
    if (*c.device) {
      ASSERT_EQ(devices.size(), 1u);
      EXPECT_EQ(devices[0].compare(0, std::strlen(c.device), c.device), 0) << devices[0];
    } else {
      EXPECT_TRUE(devices.empty());
    }
    // A failure leaves nothing loaded; a failure after loading unloads.
    EXPECT_EQ(_gfx.IsLoaded(), c.result);
    if (!c.result) {
      EXPECT_EQ(rs.GetDevice(), nullptr);
      EXPECT_TRUE(log.Count(L"**********") > 0);  // framed by star lines
    }
  }
}

TEST_F(RenderSystemHardwareTest, CellsAreCutIntoPowerOfTwoTiles) {
  Start();
  Image* image = Keep(Picture(300, 200));
  ASSERT_TRUE(rs.UpdateImageData(image, 0, 0, true));
  std::vector<std::string> sizes;
  for (const std::string& c : Script().Calls("CreateTexture")) sizes.push_back(c.substr(14));
  // Rows from the bottom of the cell: 128, 64, 8; columns 256, 32, 8, 4.
  const std::vector<std::string> expected = {"256x128 21", "32x128 21", "8x128 21", "4x128 21",
                                             "256x64 21",  "32x64 21",  "8x64 21",  "4x64 21",
                                             "256x8 21",   "32x8 21",   "8x8 21",   "4x8 21"};
  EXPECT_EQ(sizes, expected);

  // The tile at column 256, row 128 from the bottom holds picture pixels
  // x 256..287, y 8..71 (top down), blue first; its texture row 0 is the
  // picture's lowest row of the tile.
  const std::vector<uint8_t>& tile = Script().texturePixels.at(6);
  ASSERT_EQ(tile.size(), 32u * 64 * 4);
  const uint8_t* texel = &tile[(0 * 32 + 3) * 4];
  EXPECT_EQ(texel[0], 7);
  EXPECT_EQ(texel[1], 71);                // y of the tile's lowest picture row
  EXPECT_EQ(texel[2], uint8_t(256 + 3));  // x
  EXPECT_EQ(texel[3], 255);

  StartFrame();
  HLF::ImageDrawParams params;
  params.position = Vector2(10, 20);
  params.transform = 0;
  rs.DrawImage(image, params);
  ASSERT_EQ(Script().draws.size(), 12u);
  // Drawn from the top row of tiles down, each row from the left.
  const float xs[] = {10, 266, 298, 306};
  const float ys[] = {20, 28, 92};
  const float hs[] = {8, 64, 128};
  for (size_t i = 0; i < 12; ++i) {
    const auto q = Corners(Script().draws[i]);
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(Script().draws[i].type, GFXPT_TRIANGLEFAN);
    EXPECT_EQ(q[0].x, xs[i % 4]);
    EXPECT_EQ(q[0].y, ys[i / 4]);
    EXPECT_EQ(q[2].y - q[0].y, hs[i / 4]);
    EXPECT_EQ(q[0].v, 1.0f);
    EXPECT_EQ(q[2].v, 0.0f);
  }

  // A cell of one power-of-two texture is one quad.
  Image* square = Keep(Picture(64, 32, 2, 1));
  Script().ClearRecord();
  rs.DrawImage(square, params);
  EXPECT_EQ(Script().Count("CreateTexture 32x32 21"), 2u);
  EXPECT_EQ(Script().draws.size(), 1u);
}

TEST_F(RenderSystemHardwareTest, UploadReusesTexturesAndChecksTheGrid) {
  Start();
  Image* image = Keep(Picture(300, 100, 3, 1));
  ASSERT_TRUE(rs.UpdateImageData(image, 0, 0, true));
  const size_t created = Script().Count("CreateTexture");
  EXPECT_EQ(created, 3u * 9);  // cells of 100 x 100: columns and rows of 64, 32 and 4
  Script().ClearRecord();
  ASSERT_TRUE(rs.UpdateImageData(image, 0, 0, true));
  EXPECT_EQ(Script().Count("CreateTexture"), 0u);  // same size and grid: refilled
  EXPECT_EQ(Script().Count("LockRect"), created);

  // 301 / 3 does not divide: a warning, and cells of 99.
  QmTest::LogCapture log;
  Image* odd = Keep(Picture(301, 64, 3, 1));
  Script().ClearRecord();
  ASSERT_TRUE(rs.UpdateImageData(odd, 0, 0, true));
  EXPECT_TRUE(log.Count(L"probably has invalid dimension( width ) for this set of loops and cells.") > 0);
  EXPECT_EQ(Script().Count("CreateTexture 64x64"), 3u);
  EXPECT_EQ(Script().Count("CreateTexture 32x64"), 3u);
  EXPECT_EQ(Script().Count("CreateTexture 2x64"), 3u);
  EXPECT_EQ(Script().Count("CreateTexture 1x64"), 3u);

  // No render data yet, no upload: an empty record only.
  Image* later = Keep(Picture(8, 8));
  EXPECT_TRUE(rs.UpdateImageData(later, 0, 0, false));
  EXPECT_NE(later->GetRenderData(), nullptr);
  EXPECT_TRUE(rs.ReleaseImageData(later));
  EXPECT_EQ(later->GetRenderData(), nullptr);
  EXPECT_TRUE(rs.ReleaseImageData(later));
}

TEST_F(RenderSystemHardwareTest, UploadFailuresThrowWithTheImageUnlocked) {
  Start();
  struct Case {
    int failures;
    bool lockFails;
    unsigned format;
    int code;
  };
  for (const Case& c : {Case{10, false, 1, 6}, Case{0, true, 1, 7}, Case{0, false, 5, 3}}) {
    SCOPED_TRACE(c.code);
    Script().textureFailures = c.failures;
    Script().textureLockFails = c.lockFails;
    auto image = std::make_unique<Image>(16, 16, c.format);
    try {
      rs.UpdateImageData(image.get(), 0, 0, true);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.GetCode(), c.code);
      EXPECT_EQ(e.GetFunction(), L"LLF::stRSH_ImageData::UpdateData");
    }
    EXPECT_TRUE(image->Lock());  // not left locked
    image->Unlock();
    rs.ReleaseImageData(image.get());
  }
  // Nine failures still leave the tenth attempt.
  Script().textureLockFails = false;
  Script().textureFailures = 9;
  Image* image = Keep(Picture(16, 16));
  EXPECT_TRUE(rs.UpdateImageData(image, 0, 0, true));
}

TEST_F(RenderSystemHardwareTest, TilesNeverReadPastTheCell) {
  // With an aspect limit of 1 a 256 x 16 cell needs a square texture: the
  // tile holds 16 rows of the cell and the rest stays empty.
  Script().caps.maxTextureAspectRatio = 1;
  Start();
  Image* image = Keep(Picture(256, 16));
  ASSERT_TRUE(rs.UpdateImageData(image, 0, 0, true));
  EXPECT_EQ(Script().Calls("CreateTexture"), std::vector<std::string>{"CreateTexture 256x256 21"});
  const std::vector<uint8_t>& tile = Script().texturePixels.at(1);
  EXPECT_EQ(tile[(15 * 256 + 5) * 4 + 1], 0);  // stored row 15 is picture row 0
  EXPECT_EQ(tile[(15 * 256 + 5) * 4 + 3], 255);
  EXPECT_EQ(tile[(16 * 256 + 5) * 4 + 3], 0);  // beyond the cell: cleared
  StartFrame();
  HLF::ImageDrawParams params;
  params.transform = 0;
  rs.DrawImage(image, params);
  ASSERT_EQ(Script().draws.size(), 1u);
  const auto q = Corners(Script().draws[0]);
  EXPECT_EQ(q[2].y - q[0].y, 16.0f);  // only the cell's rows are drawn
  EXPECT_EQ(q[0].v, 16.0f / 256.0f);
  EXPECT_EQ(q[2].v, 0.0f);
}

TEST_F(RenderSystemHardwareTest, TextureIsSetOnlyWhenItChanges) {
  Start();
  Image* a = Keep(Picture(8, 8));
  Image* b = Keep(Picture(8, 8));
  HLF::ImageDrawParams params;
  StartFrame();
  rs.DrawImage(a, params);
  rs.DrawImage(a, params);
  rs.DrawImage(b, params);
  rs.DrawImage(b, params);
  rs.DrawImage(a, params);
  EXPECT_EQ(Script().Count("SetTexture 0"), 3u);
  EXPECT_EQ(Script().Count("DrawPrimitiveUP"), 5u);
  // An untextured fill sets none, so the next image sets its own again.
  rs.FillRect(Rect(0, 0, 4, 4), Color(1, 2, 3, 4));
  rs.DrawImage(a, params);
  const auto calls = Script().Calls("SetTexture 0");
  EXPECT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[3], "SetTexture 0 none");
  // A new frame starts with no texture set.
  rs.EndFrame();
  StartFrame();
  rs.DrawImage(a, params);
  EXPECT_EQ(Script().Count("SetTexture 0"), 1u);
}

TEST_F(RenderSystemHardwareTest, DrawImageArrayNeedsPowerOfTwoCells) {
  Start();
  Image* square = Keep(Picture(4, 2, 2, 1));  // cells of 2 x 2
  Image* odd = Keep(Picture(6, 4, 2, 1));     // cells of 3 x 4
  std::vector<TexturedVertex> quads(12);
  HLF::ImageDrawParams params;
  StartFrame();
  QmTest::LogCapture log;
  rs.DrawImageArray(square, params, quads.data(), 2);
  ASSERT_EQ(Script().Calls("DrawPrimitiveUP"), std::vector<std::string>{"DrawPrimitiveUP 4 4 24"});
  EXPECT_TRUE(log.Lines().empty());
  Script().ClearRecord();
  rs.DrawImageArray(odd, params, quads.data(), 2);
  EXPECT_EQ(Script().Count("DrawPrimitiveUP"), 0u);
  EXPECT_EQ(log.Lines(), std::vector<std::wstring>{
                             L"Error: Can't draw array of images. Image has not power of 2 dimensions."});
}

TEST_F(RenderSystemHardwareTest, PartAndTiledDrawsCutAndRepeatTheCell) {
  Start();
  Image* big = Keep(Picture(300, 200));
  Image* small = Keep(Picture(32, 32));
  ASSERT_TRUE(rs.UpdateImageData(big, 0, 0, true));
  ASSERT_TRUE(rs.UpdateImageData(small, 0, 0, true));
  const int smallTexture = Script().texturesCreated;
  StartFrame();
  HLF::ImageDrawParams params;
  params.transform = 0;
  params.size = Point(100, 50);
  rs.DrawImagePart(big, params);
  ASSERT_EQ(Script().draws.size(), 2u);  // the top two rows of tiles, first column only
  auto q = Corners(Script().draws[0]);
  EXPECT_EQ(q[1].x, 100.0f);
  EXPECT_EQ(q[1].u, 100.0f / 256.0f);
  EXPECT_EQ(q[2].y, 8.0f);
  q = Corners(Script().draws[1]);
  EXPECT_EQ(q[0].y, 8.0f);
  EXPECT_EQ(q[2].y, 50.0f);
  EXPECT_EQ(q[2].v, 1.0f - 42.0f / 64.0f);

  // One texture: a single wrapped quad, then the address modes go back.
  Script().ClearRecord();
  params.size = Point(100, 40);
  rs.DrawImageTiled(small, params);
  const std::vector<std::string> expected = {"SetVertexShader 0x142",
                                             "SetTextureStageState 0 ADDRESSU 1",
                                             "SetTextureStageState 0 ADDRESSV 1",
                                             "SetTexture 0 tex" + std::to_string(smallTexture),
                                             "DrawPrimitiveUP 6 2 24",
                                             "SetTextureStageState 0 ADDRESSU 3",
                                             "SetTextureStageState 0 ADDRESSV 3"};
  EXPECT_EQ(Script().calls, expected);
  q = Corners(Script().draws[0]);
  EXPECT_EQ(q[2].x, 100.0f);
  EXPECT_EQ(q[2].u, 100.0f / 32.0f);
  EXPECT_EQ(q[0].v, 0.0f);
  EXPECT_EQ(q[2].v, -40.0f / 32.0f);

  // Several textures: whole cells, then parts at the right edge.
  Script().ClearRecord();
  params.size = Point(400, 100);  // the height is raised to the cell's 200
  rs.DrawImageTiled(big, params);
  // A whole cell, then its left 100 columns: the first tile column's three rows.
  EXPECT_EQ(Script().draws.size(), 12u + 3u);
}

TEST_F(RenderSystemHardwareTest, TransformStackPushesChildInsideParentAndFeedsTheView) {
  Start();
  Matrix4 out = Matrix4::Translation(Vector3(5, 5, 5));
  rs.PopTransform();  // the base identity
  rs.PopTransform();  // empty: nothing
  rs.GetTransform(out);
  EXPECT_EQ(out.m[3][0], 5.0f);  // unchanged on an empty stack

  const Matrix4 parent = Matrix4::Translation(Vector3(100, 0, 0));
  const Matrix4 child = Matrix4::Scaling(Vector3(2, 2, 1));
  Script().ClearRecord();
  rs.PushTransform(parent);
  rs.PushTransform(child);
  rs.GetTransform(out);
  // The child's scale first, then the parent's move: (1, 0) goes to (102, 0).
  float x = 0, y = 0;
  out.TransformPoint(1, 0, x, y);
  EXPECT_EQ(x, 102.0f);
  EXPECT_EQ(Script().Count("SetTransform view"), 2u);
  Script().view.TransformPoint(1, 0, x, y);
  EXPECT_EQ(x, 102.0f);
  rs.PopTransform();
  Script().view.TransformPoint(1, 0, x, y);
  EXPECT_EQ(x, 101.0f);
  rs.PopTransform();  // empties the stack: the view is left as it was
  EXPECT_EQ(Script().Count("SetTransform view"), 3u);

  // Blend modes.
  Script().ClearRecord();
  rs.SetBlendMode(1);
  rs.SetBlendMode(2);
  rs.SetBlendMode(0);
  EXPECT_EQ(Script().calls,
            (std::vector<std::string>{"SetRenderState DESTBLEND 2", "SetRenderState DESTBLEND 6"}));
}

TEST_F(RenderSystemHardwareTest, ClipRectangleKeepsWindowCoordinates) {
  Start();
  StartFrame();
  const Rect clip(100, 50, 200, 100);
  rs.SetClipRect(&clip);
  EXPECT_EQ(Script().Calls("SetViewport"), std::vector<std::string>{"SetViewport 100 50 200 100 0 10000"});
  float x = 0, y = 0;
  Script().view.TransformPoint(100, 50, x, y);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 0.0f);
  // A transform pushed inside the clip keeps its translation.
  rs.PushTransform(Matrix4::Translation(Vector3(10, 0, 0)));
  Script().view.TransformPoint(100, 50, x, y);
  EXPECT_EQ(x, 10.0f);
  rs.PopTransform();

  // Cut to the back buffer; wholly outside draws nothing.
  Script().ClearRecord();
  const Rect partly(700, 500, 300, 300);
  rs.SetClipRect(&partly);
  EXPECT_EQ(Script().Calls("SetViewport"), std::vector<std::string>{"SetViewport 700 500 100 100 0 10000"});
  const Rect outside(900, 0, 10, 10);
  rs.SetClipRect(&outside);
  rs.FillRect(Rect(0, 0, 10, 10), Color());
  EXPECT_EQ(Script().Count("DrawPrimitiveUP"), 0u);
  rs.SetClipRect(nullptr);
  EXPECT_EQ(Script().Calls("SetViewport").back(), "SetViewport 0 0 800 600 0 10000");
  rs.FillRect(Rect(0, 0, 10, 10), Color());
  EXPECT_EQ(Script().Count("DrawPrimitiveUP"), 1u);
}

TEST_F(RenderSystemHardwareTest, LostDeviceSkipsFramesUntilItIsReset) {
  Start();
  Image* image = Keep(Picture(8, 8));
  ASSERT_TRUE(rs.UpdateImageData(image, 0, 0, true));
  HLF::ImageDrawParams params;

  Script().ClearRecord();
  Script().cooperative = {GfxDeviceState::LOST};
  EXPECT_FALSE(rs.BeginFrame());
  rs.Clear(Color(), true, false);
  rs.DrawImage(image, params);
  rs.EndFrame();
  EXPECT_EQ(Script().Count("DrawPrimitiveUP") + Script().Count("Clear") + Script().Count("Present") +
                Script().Count("BeginScene"),
            0u);

  Script().ClearRecord();
  Script().resetFails = true;
  Script().cooperative = {GfxDeviceState::NOT_RESET};
  QmTest::LogCapture log;
  EXPECT_FALSE(rs.BeginFrame());
  EXPECT_EQ(log.Lines(),
            std::vector<std::wstring>{L"RenderSystemHardware device was lost, and Reset failed."});
  EXPECT_EQ(Script().Count("Reset 800x600 windowed=1"), 1u);

  Script().ClearRecord();
  Script().resetFails = false;
  Script().cooperative = {GfxDeviceState::NOT_RESET};
  EXPECT_TRUE(rs.BeginFrame());
  const auto& c = Script().calls;
  ASSERT_GE(c.size(), 5u);
  EXPECT_EQ(c[0], "TestCooperativeLevel");
  EXPECT_EQ(c[1], "Reset 800x600 windowed=1");
  EXPECT_EQ(Script().Count("SetRenderState CULLMODE 3"), 1u);
  EXPECT_EQ(c[c.size() - 3], "SetTransform projection");
  EXPECT_EQ(c[c.size() - 2], "SetTransform view");
  EXPECT_EQ(c.back(), "BeginScene");
  // Textures survive the reset: drawing needs no upload.
  Script().ClearRecord();
  rs.DrawImage(image, params);
  EXPECT_EQ(Script().Count("CreateTexture") + Script().Count("LockRect"), 0u);
  EXPECT_EQ(Script().Count("DrawPrimitiveUP"), 1u);
}

TEST_F(RenderSystemHardwareTest, ScreenshotsReadTheBackBuffer) {
  Start();
  ImagesManager::GetInstance().RegisterCodec(&CodecPng::GetInstance());
  // A 800 x 600 back buffer, blue first, rows top down: pixel (x, y) has
  // red x & 255, green y & 255, blue 9.
  GfxScript& s = Script();
  s.backBufferWidth = 800;
  s.backBufferHeight = 600;
  s.backBuffer.resize(800 * 600 * 4);
  for (uint32_t y = 0; y < 600; ++y) {
    for (uint32_t x = 0; x < 800; ++x) {
      uint8_t* p = &s.backBuffer[(y * 800 + x) * 4];
      p[0] = 9;
      p[1] = uint8_t(y);
      p[2] = uint8_t(x);
      p[3] = 0;
    }
  }
  std::unique_ptr<Image> shot(rs.GetScreenshot());
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->GetFormat(), unsigned(IMGFORMAT_R8G8B8X8));
  Color c;
  shot->GetPixel(&c, 300, 20);
  EXPECT_EQ(c, Color(uint8_t(300), 20, 9, 255));

  const std::string folder = QmTest::NewTempFolder("shot");
  const std::wstring first = AnsiToWide(folder) + L"/first.png";
  const std::wstring second = AnsiToWide(folder) + L"/second.png";
  StartFrame();
  EXPECT_TRUE(rs.RequestScreenshot(first));
  EXPECT_FALSE(rs.RequestScreenshot(second));
  rs.EndFrame();
  const auto& calls = s.calls;
  const auto present = std::find(calls.begin(), calls.end(), "Present");
  const auto copy = std::find(calls.begin(), calls.end(), "CopyRects");
  ASSERT_NE(present, calls.end());
  EXPECT_LT(copy, present);  // saved before it is presented
  std::unique_ptr<Image> saved(ImagesManager::GetInstance().LoadImage(first, L"", true, true));
  ASSERT_TRUE(saved);
  saved->GetPixel(&c, 799, 599);
  EXPECT_EQ(c.r, uint8_t(799));
  EXPECT_EQ(c.g, uint8_t(599));
  EXPECT_EQ(c.b, 9);
  // The request was served: a new one is taken.
  EXPECT_TRUE(rs.RequestScreenshot(second));

  // A failing read-back is logged between star lines and still presents.
  s.surfaceFails = true;
  s.ClearRecord();
  QmTest::LogCapture log;
  StartFrame();
  rs.EndFrame();
  EXPECT_TRUE(log.Count(L"Failed to create an image surface for screenshot image buffer.") > 0);
  EXPECT_EQ(s.Count("Present"), 1u);
  EXPECT_TRUE(rs.RequestScreenshot(first));
}

TEST_F(RenderSystemHardwareTest, SwitchModeResetsTheDeviceWithTheOtherParameters) {
  Start();
  QmTest::LogCapture log;
  EXPECT_TRUE(rs.SwitchMode(true, 0));  // already windowed
  EXPECT_EQ(Script().Count("Reset"), 0u);
  EXPECT_TRUE(rs.SwitchMode(false, 0));
  EXPECT_EQ(Script().Calls("Reset"), std::vector<std::string>{"Reset 800x600 windowed=0"});
  EXPECT_FALSE(rs.GetSettings().windowed);
  EXPECT_TRUE(rs.SwitchMode(false, 0));  // already full screen at that size
  Script().resetFails = true;
  EXPECT_FALSE(rs.SwitchMode(true, 0));
  Script().resetFails = false;
  EXPECT_TRUE(rs.SwitchMode(true, 0));
  EXPECT_TRUE(rs.GetSettings().windowed);
  const std::vector<std::wstring> expected = {L"SwitchMode successull. Switched to fullscreen.",
                                              L"SwitchMode failed. Was trying switch to windowed.",
                                              L"SwitchMode successull. Switched to windowed."};
  EXPECT_EQ(log.Lines(), expected);

  // Resize follows the client size in a window, never below the smallest
  // back buffer, and ignores an empty size.
  Script().ClearRecord();
  rs.Resize(1024, 700);
  rs.Resize(0, 0);
  rs.Resize(300, 200);
  EXPECT_EQ(Script().Calls("Reset"),
            (std::vector<std::string>{"Reset 1024x700 windowed=1", "Reset 800x600 windowed=1"}));

  // Full screen unavailable.
  rs.Destroy();
  Script().modes.clear();
  Start();
  EXPECT_FALSE(rs.SwitchMode(false, 0));
  EXPECT_TRUE(log.Count(L"Warning: Can't switch to fullscreen mode. Fullscreen mode is not available.") > 0);
}

TEST_F(RenderSystemHardwareTest, TextIsBatchedUpTo512Glyphs) {
  Start();
  // Two glyphs in a 16 x 8 glyph image of 8 x 8 cells.
  Font::Glyph a;
  a.character = L'A';
  a.dims = Point(5, 6);
  a.renderOffset = Point(1, 0);
  Font::Glyph b = a;
  b.character = L'B';
  b.imageOffset = Point(1, 0);
  b.renderOffset = Point(2, -2);  // two rows below the base line
  const std::unique_ptr<Font> made = QmTest::SquareGlyphFont(8, Point(1, 1), 8, 3, {a, b});
  const Font& font = *made;
  StartFrame();

  TextDrawParams params(L"AB A?", Vector2(10, 20), Color(1, 2, 3, 4), 0.0f, Vector2(1, 1), 0, Vector2(),
                        Vector2());
  rs.DrawText(font, params);
  ASSERT_EQ(Script().Calls("DrawPrimitiveUP"), std::vector<std::string>{"DrawPrimitiveUP 4 6 24"});
  const auto& bytes = Script().draws[0].vertices;
  auto vertex = [&](size_t i) {
    TexturedVertex v;
    std::memcpy(&v, bytes.data() + i * 24, 24);
    return v;
  };
  // A at the pen, B after A's advance of 5 + 1, the second A after B's 5 + 2
  // and the space's 3; the unknown '?' draws nothing.
  EXPECT_EQ(vertex(0).x, 10.0f);
  EXPECT_EQ(vertex(6).x, 16.0f);
  EXPECT_EQ(vertex(12).x, 26.0f);
  // The base line one font height below the top (28); a cell's glyph sits
  // one pixel above its lower edge, so the cell's top is 7 above the base
  // line, B's two lower.
  EXPECT_EQ(vertex(0).y, 21.0f);
  EXPECT_EQ(vertex(6).y, 23.0f);
  EXPECT_EQ(vertex(5).y, 29.0f);
  // A's cell is the left half of the glyph image, B's the right.
  EXPECT_EQ(vertex(0).u, 0.0f);
  EXPECT_EQ(vertex(1).u, 0.5f);
  EXPECT_EQ(vertex(6).u, 0.5f);
  EXPECT_EQ(vertex(7).u, 1.0f);
  EXPECT_EQ(vertex(0).v, 1.0f);
  EXPECT_EQ(vertex(5).v, 0.0f);
  EXPECT_EQ(vertex(0).color, 0x04010203u);

  // 600 glyphs: a full batch of 512, then the rest.
  Script().ClearRecord();
  params.text.assign(600, L'A');
  rs.DrawText(font, params);
  EXPECT_EQ(Script().Calls("DrawPrimitiveUP"),
            (std::vector<std::string>{"DrawPrimitiveUP 4 1024 24", "DrawPrimitiveUP 4 176 24"}));
  EXPECT_EQ(Script().Count("SetTexture 0"), 0u);  // still the glyph texture
}

TEST_F(RenderSystemHardwareTest, NoThreeDimensionalRenderer) {
  try {
    rs.Get3DRender();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.GetCode(), 0);
    EXPECT_EQ(e.GetDescription(), L"3D render is not available yet for WinRenderSystemHardware");
    EXPECT_EQ(e.GetLine(), 1265);
  }
}

}  // namespace
