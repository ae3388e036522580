#include <gtest/gtest.h>

#include "cutlist/frame_mapping.hpp"

namespace sarnik {
namespace {

TEST(FrameMapping, SubFrameCorrection) {
  struct {
    std::int32_t rate, delay, t;
  } cases[] = {{29970, 0, 0},     {29970, 125, 0},   {29970, 250, 0},    {29970, 1, 564},
               {29970, 37, 878},  {29970, 100, 428}, {29970, 124, 970},  {29970, -100, -428},
               {59940, 100, 214}, {59940, 124, 985}, {59940, -100, -214}};
  for (const auto& c : cases) {
    EXPECT_EQ(sub_frame_correction(c.delay, c.rate), c.t) << c.rate << " " << c.delay;
  }
}

TEST(FrameMapping, ResultsInDoublePrecision) {
  struct {
    std::int32_t v, rate, delay, result;
  } cases[] = {
      {1000, 29970, 0, 1564},   {1000, 29970, 100, 1563}, {1000, 29970, -100, 1564},
      {1000, 29970, 37, 1563},  {1, 29970, 0, 1},         {2, 29970, 0, 3},
      {640, 29970, 0, 1001},    {640, 29970, 100, 1000},  {41600, 29970, 0, 65064},
      {1000, 59940, 0, 782},    {1000, 59940, 100, 781},  {1000, 59940, -100, 782},
      {1, 59940, 0, 0},         {1, 59940, 124, 0},       {5, 59940, 0, 3},
      {1280, 59940, 0, 1001},   {83200, 59940, 0, 65064}, {4, 59940, 0, 3},
      {1, 29970, 124, 0},       {0, 29970, 124, 0},       {0, 59940, -100, 0},
      {10999998, 29970, 0, 17204684},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(video_to_audio_frame(c.v, FrameMapping{c.rate, false, c.delay}), c.result)
        << c.v << " at " << c.rate << " with " << c.delay << " ms";
  }
}

TEST(FrameMapping, DirectFramesPassThrough) {
  for (std::int32_t v : {0, 1, 640, 9999999}) {
    EXPECT_EQ(video_to_audio_frame(v, FrameMapping{29970, true, 100}), v);
    EXPECT_EQ(video_to_audio_frame(v, FrameMapping{59940, true, -37}), v);
  }
}

TEST(FrameMapping, NeverDecreases) {
  for (std::int32_t rate : {29970, 59940}) {
    for (std::int32_t delay : {-124, -100, -1, 0, 1, 37, 100, 124, 1000}) {
      const FrameMapping m{rate, false, delay};
      std::int32_t previous = video_to_audio_frame(0, m);
      for (std::int32_t v = 1; v < 200000; ++v) {
        const std::int32_t a = video_to_audio_frame(v, m);
        ASSERT_GE(a, previous) << v << " " << rate << " " << delay;
        // At 29.97 frames from 1 on never share an AAC frame.
        if (rate == 29970 && v > 1) {
          ASSERT_GT(a, previous) << v << " " << delay;
        }
        previous = a;
      }
    }
  }
}

}  // namespace
}  // namespace sarnik
