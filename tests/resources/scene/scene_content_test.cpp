// The default scene's pictures and music as the saver will read them: every picture decodes
// through D3DX at 1024 x 768 with 8 bits per channel, every music file is a 16-bit PCM RIFF WAVE
// of a few seconds, small enough to embed.
//   vq_scene_content_test <folder of the built scene content>
#include <gtest/gtest.h>

#include <windows.h>
#include <d3dx9.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring g_Folder;

const wchar_t* const kPictures[] = {L"meadow_dawn.jpg", L"mountain_lake.jpg", L"night_camp.jpg",
                                    L"sea_floor.jpg", L"winter_village.jpg", L"harbour_dusk.jpg"};
const wchar_t* const kMusic[] = {L"dawn.wav", L"evening.wav"};

TEST(SceneContent, PicturesDecodeAt1024By768With8BitsPerChannel) {
  for (const wchar_t* name : kPictures) {
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(D3DXGetImageInfoFromFileW((g_Folder + name).c_str(), &info), D3D_OK) << name;
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(info.Width, 1024u);
    EXPECT_EQ(info.Height, 768u);
    EXPECT_TRUE(info.Format == D3DFMT_X8R8G8B8 || info.Format == D3DFMT_R8G8B8) << name << " " << info.Format;
  }
}

TEST(SceneContent, MusicIsShortQuiet16BitPcm) {
  for (const wchar_t* name : kMusic) {
    std::wstring path = g_Folder + name;
    HMMIO file = mmioOpenW(&path[0], nullptr, MMIO_READ);
    ASSERT_NE(file, nullptr) << name;
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
    MMCKINFO chunk = {};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    PCMWAVEFORMAT format = {};
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof(format)), static_cast<LONG>(sizeof(format)));
    EXPECT_EQ(format.wf.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.wf.nSamplesPerSec, 22050u);
    mmioAscend(file, &chunk, 0);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ASSERT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
    const double seconds = chunk.cksize / static_cast<double>(format.wf.nAvgBytesPerSec);
    EXPECT_GE(seconds, 4.0) << name;
    EXPECT_LE(chunk.cksize, 400u * 1024u) << name;
    std::vector<short> samples(chunk.cksize / 2);
    ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(samples.data()), chunk.cksize), static_cast<LONG>(chunk.cksize));
    int peak = 0;
    for (short s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 2000) << name << " is heard";
    EXPECT_LT(peak, 16384) << name << " stays below -6 dB";
    mmioClose(file, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  g_Folder.assign(folder.begin(), folder.end());
  if (!g_Folder.empty() && g_Folder.back() != L'\\') g_Folder += L'\\';
  return RUN_ALL_TESTS();
}
