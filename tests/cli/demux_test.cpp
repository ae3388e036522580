// --demux on recordings that ffmpeg makes and the tests damage as reception does: each file the
// recording's frames byte for byte, but for a run of silent frames where packets were lost, so that
// every frame after it stays at its place; the exact lines, files and exit codes.
#include <gtest/gtest.h>

#include <map>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

// Recordings of 12 s at 29.97 fps, MPEG-2 video (GOP 15, B pictures), AAC at 48000 Hz, made by the
// command line; "#" stands for the recording's name.
const std::string kFfmpeg = "ffmpeg -nostdin -v error -y ",
                  kVideo =
                      kFfmpeg + "-f lavfi -i testsrc=size=320x240:rate=30000/1001:duration=12 ",
                  kTone = "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=",
                  kTs = "-c:v mpeg2video -g 15 -bf 2 -c:a aac -b:a 128k -f mpegts ",
                  kStereo = kVideo + kTone + "12 -ac 2 " + kTs,
                  kJoin = kStereo + "a.ts && " + kStereo +
                          "-output_ts_offset 100 b.ts && cat a.ts b.ts >#";

std::string ffmpeg(const std::string& args, const std::string& dir) {
  return run_shell(kFfmpeg + args, dir).err;
}

// Packets of a PID lost: first to first + count - 1 (counted from 1), or the first-th that starts a
// PES; or junk bytes after its first-th packet, where nothing is lost; or its discontinuity
// indicator set where its continuity counter jumps. M2TS: each packet after a 4-byte
// arrival time, as recorders write it.
struct Damage {
  int pid, first, count = 0;
  enum { packets, pes_start, junk, mark_joins } kind = packets;
};

std::string damage(const std::string& ts, bool m2ts, const std::vector<Damage>& damages) {
  std::string out;
  std::map<int, int> seen, starts, counter;
  for (std::size_t at = 0; at + 188 <= ts.size(); at += 188) {
    std::string packet = ts.substr(at, 188);
    auto* p = reinterpret_cast<std::uint8_t*>(packet.data());
    const int pid = (p[1] & 0x1F) << 8 | p[2], n = ++seen[pid], s = starts[pid] += p[1] >> 6 & 1;
    const bool jumps = n > 1 && (p[3] & 0xF) != ((counter[pid] + 1) & 0xF);
    counter[pid] = p[3] & 0xF;
    bool keep = true;
    for (const Damage& d : damages) {
      if (d.kind == Damage::mark_joins && d.pid == pid && jumps && p[3] & 0x20 && p[4] > 0) {
        p[5] |= 0x80;
      }
      if (d.pid != pid) continue;
      if (d.kind == Damage::packets) keep = keep && (n < d.first || n >= d.first + d.count);
      if (d.kind == Damage::pes_start) keep = keep && !(p[1] & 0x40 && s == d.first);
      if (d.kind == Damage::junk && n == d.first) out += std::string(d.count, 'G');
    }
    if (keep) out += (m2ts ? std::string{0, 0, 1, char(at)} : "") + packet;
  }
  return out;
}

std::vector<std::string> frames_of(const std::string& adts) {
  std::vector<std::string> frames;
  for (std::size_t at = 0; at + 7 <= adts.size();) {
    const std::size_t length = (adts[at + 3] & 3) << 11 | std::uint8_t(adts[at + 4]) << 3 |
                               std::uint8_t(adts[at + 5]) >> 5;
    frames.push_back(adts.substr(at, length));
    at += length;
  }
  return frames;
}

// ticks of 1/(90000 * 48000) s in milliseconds, halves away from zero
std::string error(const std::string& utf8) { return sjis("エラー: " + utf8 + "\n"); }

long long ms(long long ticks) {
  const long long unit = 90LL * 48000, m = (2 * std::llabs(ticks) + unit) / (2 * unit);
  return ticks < 0 ? -m : m;
}

struct Stream {
  int channels, leading = 0;  // silent frames expected before the first
  bool damaged = false;
};
struct Recording {
  std::string what, make;  // ffmpeg's arguments to make it
  std::vector<Stream> streams;
  std::vector<Damage> damages = {};
  std::string extension = "ts";
};

TEST(Demux, DamagedRecordingsToFramesAndLines) {
  const Recording recordings[] = {
      {"clean", kStereo + "#", {{2}}},
      {"40 packets lost", kStereo + "#", {{2, 0, true}}, {{0x101, 500, 40}}},
      {"a PES header lost", kStereo + "#", {{2, 0, true}}, {{0x101, 30, 1, Damage::pes_start}}},
      {"junk between packets",
       kStereo + "#",
       {{2}},
       {{0x101, 300, 50, Damage::junk}, {0x100, 9, 1}}},
      {"a jump of the clock, marked on the clock's PID",
       kJoin,
       {{2}},
       {{0x100, 0, 0, Damage::mark_joins}}},
      {"a jump of the clock, marked on the audio",
       kJoin,
       {{2}},
       {{0x101, 0, 0, Damage::mark_joins}}},
      {"the 33-bit clock wraps in the gap",
       kStereo + "-output_ts_offset 95438.5 #",
       {{2, 0, true}},
       {{0x101, 380, 40}}},
      {"M2TS", kStereo + "#", {{2, 0, true}}, {{0x101, 600, 40}}, "m2ts"},
      {"5.1 starting 0.5 s late and mono, both damaged",
       kVideo + "-itsoffset 0.5 " + kTone + "12 " + kTone + "12 -map 0 -map 1 -map 2 -ac:a:0 6 " +
           "-ac:a:1 1 " + kTs + "#",
       {{6, 23, true}, {1, 0, true}},
       {{0x101, 300, 40}, {0x102, 200, 10}}},
      {"5.1 turning to stereo in the gap",
       "for c in 6 2; do " + kFfmpeg + kTone + "6 -ac $c -c:a aac -f adts -; done > a.aac && " +
           kVideo + "-i a.aac -c:v mpeg2video -c:a copy -f mpegts #",
       {{6, 0, true}},
       {{0x101, 280, 60}}}};
  for (const Recording& r : recordings) {
    SCOPED_TRACE(r.what);
    const TempDir dir;
    ASSERT_EQ(run_shell(std::regex_replace(r.make, std::regex("#"), "clean.ts"), dir.path).err, "");
    const std::string name = "rec." + r.extension;
    dir.write(name, damage(read_file(dir.file("clean.ts")), r.extension == "m2ts", r.damages));
    const ProcessResult result = run_shell("sarnik --demux " + name, dir.path);
    EXPECT_EQ(result.err + std::to_string(result.exit_code), "0");

    // The first picture and each stream's first frame, in 90 kHz ticks.
    std::istringstream pts(run_shell("ffprobe -v error -show_entries stream=start_pts -of csv=p=0 "
                                     "clean.ts | tr , ' '",
                                     dir.path)
                               .out);
    long long picture = 0, start = 0;
    pts >> picture;
    std::string lines;
    for (std::size_t i = 0; i < r.streams.size(); ++i) {
      const Stream& s = r.streams[i];
      pts >> start;
      ffmpeg("-i clean.ts -map 0:a:" + std::to_string(i) + " -c copy -f adts a.aac", dir.path);
      const std::vector<std::string> clean = frames_of(read_file(dir.file("a.aac")));
      // The stream's start against the picture, after the leading frames, in ticks * 48000.
      const long long late = (start - picture) * 48000 - s.leading * 1024LL * 90000;
      const std::string file =
          "rec audio" + std::to_string(i + 1) + " DELAY " + std::to_string(ms(late)) + "ms.aac";
      const std::vector<std::string> out = frames_of(read_file(dir.file(file)));
      ASSERT_EQ(out.size(), clean.size() + s.leading) << file;
      // Every frame at its place but for one run of silent frames.
      std::size_t first = clean.size(), end = 0;
      for (std::size_t k = 0; k < clean.size(); ++k) {
        if (out[s.leading + k] != clean[k]) first = std::min(first, k), end = k + 1;
      }
      EXPECT_EQ(first < end, s.damaged) << file;
      lines += sjis(file + ": " + std::to_string(out.size()) + " フレーム");
      if (s.leading)
        lines += sjis(", 先頭に " + std::to_string(s.leading) + " フレームを無音で補完");
      if (first < end) {
        const long long at = ms(late + static_cast<long long>(s.leading + first) * 1024 * 90000);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%s%lld.%03lld", at < 0 ? "-" : "",
                      std::llabs(at) / 1000, std::llabs(at) % 1000);
        lines += sjis(", " + std::string(seconds) + " 秒に " + std::to_string(end - first) +
                      " フレームを無音で補完");
      }
      lines += "\n";
      // Cleanly decoded, silent where silence was put in (a frame's sound reaches into the next).
      EXPECT_EQ(ffmpeg("-i '" + file + "' -f s16le a.pcm", dir.path), "") << file;
      const std::string pcm = read_file(dir.file("a.pcm"));
      ASSERT_EQ(pcm.size(), out.size() * 1024 * 2 * s.channels);
      const auto silent = [&](std::size_t from, std::size_t to) {
        const std::size_t bytes = 2048 * s.channels;
        return pcm.find_first_not_of('\0', from * bytes) >= to * bytes;
      };
      EXPECT_TRUE(silent(0, s.leading) &&
                  (first == end || silent(s.leading + first + 1, s.leading + end)))
          << file;
    }
    EXPECT_EQ(result.out, lines);
  }
}

// A run that fails leaves no file, and refuses to replace one; no banner, one error line.
TEST(Demux, FailuresLeaveNoFile) {
  const std::string kTwo = kVideo + kTone + "12 " + kTone + "12 -map 0 -map 1 -map 2 -ac 2 " + kTs +
                           "#",
                    kNullPackets =
                        "for i in $(seq 50); do printf 'G\\037\\377\\020'; head -c 184 "
                        "/dev/zero; done >#",
                    kInvalidLine =
                        "sarnik --demux; sarnik --demux rec.ts rec.ts; sarnik --demux -x",
                    kUsage = run_shell("sarnik -h | tail -n +2", ".").out;
  const struct {
    std::string make, command;  // making rec.ts, then what runs on it
    std::vector<Damage> damages;
    std::string error;  // UTF-8, for each command of the row
    std::vector<std::string> kept = {};
  } rows[] = {
      {"echo no TS >#", "", {}, "TS ファイルではありません。"},
      {"", "sarnik --demux missing.ts", {}, "TS ファイルの読み込みに失敗しました。"},
      {kNullPackets, "", {}, "TS ファイルに番組がありません。"},
      {kVideo + kTone + "2 -c:a mp2 -f mpegts #", "", {}, "番組に AAC 音声がありません。"},
      {kStereo + "#", "", {{0x101, 20, 1000}}, "音声の欠落が 10 秒を超えています。"},
      {kJoin, "", {}, "音声の欠落が 10 秒を超えています。"},
      {kVideo + kTone + "12 -c:a aac -aac_pce 1 -f mpegts #",
       "",
       {{0x101, 200, 9}},
       "無音フレームを作れない音声形式です (チャンネル構成 0 またはサンプリング周波数の変化)。"},
      {kTwo + "&& echo keep >'rec audio2 DELAY -21ms.aac'",
       "",
       {},
       "出力ファイルが既に存在します。",
       {"rec audio2 DELAY -21ms.aac"}},
      {kStereo + "#",
       "trap '' XFSZ; ulimit -f 100; sarnik --demux rec.ts",
       {},
       "出力ファイルの書き込みに失敗しました。"},
      {kStereo + "#",
       "sarnik --demux rec.ts >/dev/full",
       {},
       "標準出力への書き込みに失敗しました。"},
      {"", kInvalidLine, {}, "オプションが正しくありません。"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.error);
    if (row.command.find_first_of(">'$") != std::string::npos && runs_under_runner()) continue;
    const TempDir dir;
    run_shell(std::regex_replace(row.make, std::regex("#"), "clean.ts"), dir.path);
    if (!row.make.empty())
      dir.write("rec.ts", damage(read_file(dir.file("clean.ts")), false, row.damages));
    std::filesystem::remove(dir.file("clean.ts"));
    const ProcessResult r =
        run_shell(row.command.empty() ? "sarnik --demux rec.ts" : row.command, dir.path);
    const bool usage = row.command == kInvalidLine;
    EXPECT_EQ(r.err,
              usage ? error(row.error) + error(row.error) + error(row.error) : error(row.error));
    EXPECT_EQ(r.out, usage ? kUsage + kUsage + kUsage : "");
    EXPECT_EQ(r.exit_code, 1);
    std::vector<std::string> files;
    for (const auto& f : std::filesystem::directory_iterator(dir.path)) {
      if (f.path().extension() == ".aac") files.push_back(f.path().filename().string());
    }
    EXPECT_EQ(files, row.kept);
    for (const std::string& kept : row.kept) EXPECT_EQ(read_file(dir.file(kept)), "keep\n");
  }
}

}  // namespace
}  // namespace sarnik::test
