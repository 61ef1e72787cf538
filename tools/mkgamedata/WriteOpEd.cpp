// The opening and ending sequences: "OpEd.Pak" (six opening scripts Op1..Op6.scr, five
// ending scripts Ed1..Ed5.scr, the scenes they share, their pictures, palette and
// sounds), the two songs "QDVOP_S.wav" (opening) and "QDVOP_L.wav" (ending) beside it,
// and the logo movie "mivuto_s.avi": a few seconds of MPEG-4 pictures and PCM sound in
// an AVI file, encoded here with libavformat and libavcodec.
//
// The title cards carry the game's name, the four season pictures the part of the
// heroine's year they show.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkgamedata/Art.h"
#include "tools/mkgamedata/PackWriter.h"
#include "tools/mkgamedata/PictureWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace mkgamedata {

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr double kPi = 3.14159265358979323846;
constexpr std::uint8_t kKey = Cube(5, 0, 5);  // the heroine picture's see-through colour

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// A night sky fading to the horizon, with a few stars.
void Sky(Picture& p, int r0, int g0, int b0) {
    for (int y = 0; y < p.Height(); ++y) {
        const int t = y * 3 / p.Height();
        p.Rect(0, y, p.Width(), 1,
               Cube(std::min(5, r0 + t), std::min(5, g0 + t), std::min(5, b0 + t / 2)));
    }
    for (int i = 0; i < 60; ++i) {
        const int x = (i * 173 + 37) % p.Width(), y = (i * 97 + 11) % (p.Height() / 2);
        p.Set(x, y, kWhite);
        if (i % 5 == 0) {
            p.Set(x + 1, y, kWhite);
            p.Set(x, y + 1, kWhite);
        }
    }
}

Picture TitleCard(bool ending) {
    Picture p(kW, kH, 0);
    Sky(p, 0, 0, 1);
    p.Ellipse(320, 210, 150, 150, Cube(1, 1, 3));
    p.Ellipse(320, 210, 140, 140, Cube(0, 0, 2));
    p.TextCentred(0, 150, kW, 60, "露米亞藥坊", 48, kWhite, true);
    p.TextCentred(0, 230, kW, 30, ending ? "見習魔女的一年　終" : "見習魔女的一年", 24,
                  Cube(5, 5, 3), true);
    return p;
}

struct Season {
    const char* name;  // member base name
    const char* label;
    const char* line;
    int sky[3];
    std::uint8_t ground;
};
constexpr Season kSeasons[4] = {
    {"Spring", "春　開店", "春天，緹菈的黑貓魔法店開張了", {3, 4, 5}, Cube(1, 4, 1)},
    {"Summer", "夏　調藥", "夏天，鍋裡的藥一天比一天好", {1, 3, 5}, Cube(0, 3, 0)},
    {"Autumn", "秋　市集", "秋天，市集上人來人往", {4, 3, 2}, Cube(4, 2, 0)},
    {"Winter", "冬　雪夜", "冬天，爐火照亮了小小的店", {1, 1, 2}, Cube(5, 5, 5)},
};

// A season of the heroine's year: sky, ground, the shop, and its caption.
Picture SeasonPicture(const Season& s) {
    Picture p(kW, kH, 0);
    for (int y = 0; y < 300; ++y) {
        const int t = y * 2 / 300;
        p.Rect(0, y, kW, 1, Cube(std::max(0, s.sky[0] - t), std::max(0, s.sky[1] - t), s.sky[2]));
    }
    p.Rect(0, 300, kW, 180, s.ground);
    // The shop: walls, roof, door, window and its sign.
    p.Rect(90, 170, 220, 150, Cube(5, 4, 3));
    p.Frame(90, 170, 220, 150, Cube(2, 1, 0));
    p.Polygon({{70, 172}, {200, 90}, {330, 172}}, Cube(3, 0, 0));
    p.Rect(180, 240, 44, 80, Cube(2, 1, 0));
    p.Rect(110, 200, 50, 40, Cube(2, 4, 5));
    p.Rect(240, 200, 50, 40, Cube(2, 4, 5));
    p.Rect(130, 140, 140, 24, Cube(1, 0, 0));
    p.TextCentred(130, 140, 140, 24, "黑貓魔法店", 16, Cube(5, 5, 2), true);
    if (s.name[0] == 'W')
        for (int i = 0; i < 120; ++i) p.Rect((i * 211) % kW, (i * 131) % 300, 2, 2, kWhite);
    if (s.name[0] == 'A')
        for (int i = 0; i < 40; ++i)
            p.Ellipse((i * 157) % kW, 310 + (i * 53) % 160, 5, 3, Cube(5, 2, 0));
    // The caption strip.
    p.Rect(0, 400, kW, 50, Cube(0, 0, 1));
    p.TextCentred(0, 400, kW, 50, s.line, 24, kWhite, true);
    p.Text(8, 8, s.label, 16, kInk, true);
    return p;
}

// The heroine, standing, on the see-through colour (the first pixel).
Picture Heroine() {
    Picture p(160, 240, kKey);
    p.Polygon({{80, 20}, {30, 70}, {130, 70}}, Cube(1, 0, 2));  // the hat
    p.Rect(20, 66, 120, 8, Cube(1, 0, 2));
    p.Ellipse(80, 95, 26, 28, kSkin);
    p.Rect(60, 70, 40, 14, Cube(4, 2, 0));                         // hair
    p.Polygon({{80, 120}, {30, 225}, {130, 225}}, Cube(1, 1, 4));  // the dress
    p.Rect(66, 225, 10, 12, kInk);
    p.Rect(86, 225, 10, 12, kInk);
    p.Line(125, 130, 150, 235, Cube(3, 2, 0));  // the broom
    p.Ellipse(72, 92, 3, 3, kInk);
    p.Ellipse(88, 92, 3, 3, kInk);
    return p;
}

// The ending's card: which of the five endings this is.
Picture EndingCard(int n) {
    static constexpr const char* kNames[5] = {"一", "二", "三", "四", "五"};
    // By ending number: the heroine's own, 芙蘿蕾's, the prince's, 蕾妮特's, 可可特's.
    static constexpr const char* kLines[5] = {"黑貓魔法店，明天也照常營業",
                                              "和芙蘿蕾一起走過的一年", "與王子殿下的約定",
                                              "蕾妮特露出了笑容", "可可特的心意"};
    Picture p(kW, kH, 0);
    Sky(p, 0, 0, 0);
    p.TextCentred(0, 170, kW, 50, std::string("結局　") + kNames[n - 1], 40, Cube(5, 5, 3), true);
    p.TextCentred(0, 240, kW, 30, kLines[n - 1], 24, kWhite, true);
    return p;
}

Picture Credits() {
    Picture p(kW, kH, 0);
    p.TextCentred(0, 120, kW, 40, "露米亞藥坊", 32, kWhite, true);
    p.TextCentred(0, 200, kW, 30, "謝謝你陪緹菈度過這一年", 24, Cube(5, 5, 3));
    p.TextCentred(0, 260, kW, 30, "完", 32, kWhite, true);
    return p;
}

// ---- sound

constexpr int kRate = 11025;

std::vector<std::uint8_t> WaveImage(const std::vector<std::int16_t>& s, int rate) {
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&out](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    put(36 + std::uint32_t(s.size()) * 2, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(std::uint32_t(s.size()) * 2, 4);
    for (const std::int16_t v : s) put(static_cast<std::uint16_t>(v), 2);
    return out;
}

// A little song: a melody over a drone, one note per beat, soft attack and decay.
std::vector<std::int16_t> Song(const std::vector<int>& notes, int beatMs, int rate, double root) {
    std::vector<std::int16_t> s;
    const int beat = rate * beatMs / 1000;
    double phase = 0, drone = 0;
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const double f = root * std::pow(2.0, notes[k] / 12.0);
        const double fd = root / 2 * std::pow(2.0, ((k / 8) % 2 ? 5 : 0) / 12.0);
        for (int i = 0; i < beat; ++i) {
            phase += 2 * kPi * f / rate;
            drone += 2 * kPi * fd / rate;
            const double env = std::min(1.0, i / (rate * 0.01)) * std::exp(-3.0 * i / beat);
            const double v =
                0.35 * env * (std::sin(phase) + 0.3 * std::sin(2 * phase)) + 0.1 * std::sin(drone);
            s.push_back(static_cast<std::int16_t>(v * 32767));
        }
    }
    return s;
}

std::vector<int> Melody(bool ending) {
    const std::vector<int> a = {0, 4, 7, 12, 11, 7, 4, 2, 0, 2, 4, 5, 7, 9, 7, 4};
    const std::vector<int> b = {9, 7, 5, 4, 2, 4, 5, 7, 4, 2, 0, -1, 0, 4, 7, 0};
    std::vector<int> m;
    for (int rep = 0; rep < (ending ? 3 : 2); ++rep) {
        m.insert(m.end(), a.begin(), a.end());
        m.insert(m.end(), b.begin(), b.end());
    }
    return m;
}

std::vector<std::int16_t> Chime(double f, int ms) {
    std::vector<std::int16_t> s;
    const int n = kRate * ms / 1000;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double v = 0.4 * std::exp(-5.0 * t) *
                         (std::sin(2 * kPi * f * t) + 0.5 * std::sin(2 * kPi * 2.01 * f * t));
        s.push_back(static_cast<std::int16_t>(v * 32767));
    }
    return s;
}

// ---- scripts

// The effects each opening uses: title in, season pictures in, the heroine in, title out.
struct Variant {
    int titleIn;
    int seasonIn[4];
    int titleOut;
};
constexpr Variant kOpenings[6] = {
    {310, {5, 1, 301, 11}, 6},    {7, {101, 3, 302, 13}, 5},    {8, {105, 2, 303, 12}, 9},
    {301, {201, 4, 304, 14}, 10}, {106, {7, 102, 8, 111}, 310}, {304, {9, 103, 10, 112}, 104},
};

// A scene of the year: the season comes in, the heroine appears over it and the
// sound rings; the caller's anchor times it.
std::string SeasonScene(int season, int effect, int hold) {
    const Season& s = kSeasons[season];
    std::string t;
    t += "<# " + std::string(s.name) + ">\r\n";
    t += "<BGLOAD " + std::string(s.name) + ">\r\n";
    t += "<BGSHOW " + std::to_string(effect) + ">\r\n";
    t += "<WAIT2 40>\r\n";
    t += "<PICTRANS Heroine 0 " + std::to_string(380 + 20 * season) + " 150>\r\n";
    t += "<WAVE chime>\r\n";
    t += "<WAIT2 " + std::to_string(hold) + ">\r\n";
    return t;
}

std::string Opening(int n) {
    const Variant& v = kOpenings[n - 1];
    std::string t;
    t +=
        "<# Opening " + std::to_string(n) + ": the title, the heroine's year, the title again>\r\n";
    t += "<SKIP ON>\r\n<PALETTE OpEd>\r\n<CLEAR 0>\r\n<CDPLAY 1>\r\n<ANCHOR>\r\n";
    t += "<PICTURE OpTitle " + std::to_string(v.titleIn) + ">\r\n<WAVE bell>\r\n<WAIT2 120>\r\n";
    // Openings start the year at a different season each, in the year's order.
    const int first = (n - 1) % 4;
    for (int k = 0; k < 4; ++k) {
        const int season = (first + k) % 4;
        t += "<SCRIPT Season" + std::to_string(season) + "_" + std::to_string(v.seasonIn[k]) +
             ".scr>\r\n";
    }
    t += "<CLEAR 0>\r\n<WAIT2 10>\r\n";
    t += "<PICTURE OpTitle " + std::to_string(v.titleOut) + ">\r\n<WAIT2 150>\r\n";
    t += "<CDSTOP>\r\n<END>\r\n";
    return t;
}

std::string Ending(int n) {
    std::string t;
    t += "<# Ending " + std::to_string(n) +
         ": the ending's card, the year looked back on, the end>\r\n";
    t += "<SKIP ON>\r\n<PALETTE OpEd>\r\n<CLEAR 0>\r\n<CDPLAY 2>\r\n<ANCHOR>\r\n";
    t += "<PICTURE EdCard" + std::to_string(n) + " 310>\r\n<WAIT2 150>\r\n";
    t += "<PICTURE EdTitle 5>\r\n<WAVE bell>\r\n<WAIT2 120>\r\n";
    for (int season = 0; season < 4; ++season)
        t += "<SCRIPT Season" + std::to_string(season) + "_" +
             std::to_string(301 + (n + season) % 4) + ".scr>\r\n";
    // The last card holds five seconds from the end of its own transition (the anchor
    // starts again there), or until a click.
    t += "<CLEAR 0>\r\n<PICTURE Credits 8>\r\n<WAIT2 0>\r\n<WAIT2 250>\r\n<CDSTOP>\r\n<END>\r\n";
    return t;
}

// ---- the logo movie

bool WriteLogoMovie(const std::filesystem::path& path) {
    constexpr int kMw = 320, kMh = 240, kFps = 10, kFrames = 30;
    constexpr int kAudioRate = 22050;
    // Encoded beside the movie, which is replaced only when the bytes differ.
    const std::string file = path.string() + ".tmp";
    std::filesystem::create_directories(path.parent_path());
    AVFormatContext* fmt = nullptr;
    if (avformat_alloc_output_context2(&fmt, nullptr, "avi", file.c_str()) < 0 || fmt == nullptr) {
        std::fprintf(stderr, "mkgamedata: no AVI muxer for %s\n", file.c_str());
        return false;
    }
    bool ok = false;
    AVCodecContext* vc = nullptr;
    AVCodecContext* ac = nullptr;
    AVFrame* frame = av_frame_alloc();
    AVFrame* aframe = av_frame_alloc();
    AVPacket* pkt = av_packet_alloc();
    const std::vector<RGBQUAD> pal = GeneratedPalette();
    do {
        const AVCodec* venc = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        const AVCodec* aenc = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        if (!venc || !aenc || !frame || !aframe || !pkt) break;
        AVStream* vs = avformat_new_stream(fmt, nullptr);
        AVStream* as = avformat_new_stream(fmt, nullptr);
        vc = avcodec_alloc_context3(venc);
        ac = avcodec_alloc_context3(aenc);
        if (!vs || !as || !vc || !ac) break;
        vc->width = kMw;
        vc->height = kMh;
        vc->time_base = AVRational{1, kFps};
        vc->framerate = AVRational{kFps, 1};
        vc->pix_fmt = AV_PIX_FMT_YUV420P;
        vc->gop_size = 10;
        vc->bit_rate = 400000;
        vc->thread_count = 1;
        if (fmt->oformat->flags & AVFMT_GLOBALHEADER) vc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(vc, venc, nullptr) < 0) break;
        vs->time_base = vc->time_base;
        if (avcodec_parameters_from_context(vs->codecpar, vc) < 0) break;
        ac->sample_fmt = AV_SAMPLE_FMT_S16;
        ac->sample_rate = kAudioRate;
        av_channel_layout_default(&ac->ch_layout, 1);
        ac->time_base = AVRational{1, kAudioRate};
        if (avcodec_open2(ac, aenc, nullptr) < 0) break;
        as->time_base = ac->time_base;
        if (avcodec_parameters_from_context(as->codecpar, ac) < 0) break;
        if (avio_open(&fmt->pb, file.c_str(), AVIO_FLAG_WRITE) < 0) break;
        if (avformat_write_header(fmt, nullptr) < 0) break;

        auto drain = [&](AVCodecContext* c, AVStream* s) {
            while (avcodec_receive_packet(c, pkt) >= 0) {
                av_packet_rescale_ts(pkt, c->time_base, s->time_base);
                pkt->stream_index = s->index;
                av_interleaved_write_frame(fmt, pkt);
            }
        };
        // The sound: a rising chord over the whole movie.
        const int samples = kAudioRate * kFrames / kFps;
        const int chunk = 2205;
        bool failed = false;
        for (int at = 0; at < samples && !failed; at += chunk) {
            const int n = std::min(chunk, samples - at);
            aframe->nb_samples = n;
            aframe->format = AV_SAMPLE_FMT_S16;
            aframe->sample_rate = kAudioRate;
            av_channel_layout_default(&aframe->ch_layout, 1);
            if (av_frame_get_buffer(aframe, 0) < 0) {
                failed = true;
                break;
            }
            auto* d = reinterpret_cast<std::int16_t*>(aframe->data[0]);
            for (int i = 0; i < n; ++i) {
                const double t = double(at + i) / kAudioRate;
                const double env = std::min(1.0, t * 4) * std::min(1.0, (3.0 - t) * 2);
                const double v =
                    0.25 * env *
                    (std::sin(2 * kPi * 523.25 * t) + std::sin(2 * kPi * 659.25 * t) * (t > 0.8) +
                     std::sin(2 * kPi * 783.99 * t) * (t > 1.6));
                d[i] = static_cast<std::int16_t>(v * 32767);
            }
            aframe->pts = at;
            if (avcodec_send_frame(ac, aframe) < 0) failed = true;
            drain(ac, as);
            av_frame_unref(aframe);
        }
        if (failed) break;
        // The pictures: a star circles in, the game's name brightens.
        for (int f = 0; f < kFrames && !failed; ++f) {
            Picture p(kMw, kMh, 0);
            const double a = f * 2 * kPi / kFrames;
            const double r = 90.0 * (1.0 - f / double(kFrames));
            p.Ellipse(160 + r * std::cos(a), 90 + r * std::sin(a), 8, 8, Cube(5, 5, 2));
            p.Ellipse(160 + r * std::cos(a), 90 + r * std::sin(a), 3, 3, kWhite);
            const int glow = std::min(5, f / 4);
            p.TextCentred(0, 120, kMw, 40, "露米亞藥坊", 32,
                          Cube(glow, glow, std::min(5, glow + 1)), true);
            p.TextCentred(0, 170, kMw, 20, "魔法工房 出品", 16, Cube(3, 3, 5));
            frame->format = AV_PIX_FMT_YUV420P;
            frame->width = kMw;
            frame->height = kMh;
            if (av_frame_get_buffer(frame, 0) < 0) {
                failed = true;
                break;
            }
            // Palette to YUV 4:2:0 (studio range).
            for (int y = 0; y < kMh; ++y)
                for (int x = 0; x < kMw; ++x) {
                    const RGBQUAD c = pal[p.Get(x, y)];
                    const double R = c.rgbRed, G = c.rgbGreen, B = c.rgbBlue;
                    frame->data[0][y * frame->linesize[0] + x] = static_cast<std::uint8_t>(
                        16 + (65.481 * R + 128.553 * G + 24.966 * B) / 255);
                    if (x % 2 == 0 && y % 2 == 0) {
                        frame->data[1][(y / 2) * frame->linesize[1] + x / 2] =
                            static_cast<std::uint8_t>(128 +
                                                      (-37.797 * R - 74.203 * G + 112.0 * B) / 255);
                        frame->data[2][(y / 2) * frame->linesize[2] + x / 2] =
                            static_cast<std::uint8_t>(128 +
                                                      (112.0 * R - 93.786 * G - 18.214 * B) / 255);
                    }
                }
            frame->pts = f;
            if (avcodec_send_frame(vc, frame) < 0) failed = true;
            drain(vc, vs);
            av_frame_unref(frame);
        }
        if (failed) break;
        avcodec_send_frame(vc, nullptr);
        drain(vc, vs);
        avcodec_send_frame(ac, nullptr);
        drain(ac, as);
        ok = av_write_trailer(fmt) >= 0;
    } while (false);
    if (fmt && fmt->pb) avio_closep(&fmt->pb);
    avcodec_free_context(&vc);
    avcodec_free_context(&ac);
    av_frame_free(&frame);
    av_frame_free(&aframe);
    av_packet_free(&pkt);
    avformat_free_context(fmt);
    if (!ok) {
        std::fprintf(stderr, "mkgamedata: cannot encode the logo movie %s\n", path.c_str());
        std::filesystem::remove(file);
        return false;
    }
    return CommitFile(file, path);
}

}  // namespace

bool WriteOpEd(const std::filesystem::path& root) {
    std::vector<PackMember> m;
    const std::vector<RGBQUAD> pal = GeneratedPalette();
    auto picture = [&m](const std::string& name, const Picture& p) {
        m.push_back({name, PictureBmp8(p), true});
    };
    m.push_back({"OpEd.act", MakeAct(pal.data()), false});
    picture("OpTitle.bmp", TitleCard(false));
    picture("EdTitle.bmp", TitleCard(true));
    picture("Credits.bmp", Credits());
    picture("Heroine.bmp", Heroine());
    for (const Season& s : kSeasons) picture(std::string(s.name) + ".bmp", SeasonPicture(s));
    for (int n = 1; n <= 5; ++n) picture("EdCard" + std::to_string(n) + ".bmp", EndingCard(n));
    m.push_back({"chime.wav", WaveImage(Chime(880, 400), kRate), false});
    m.push_back({"bell.wav", WaveImage(Chime(523.25, 700), kRate), false});
    // The season scenes, one per season and effect the scripts use.
    std::vector<std::string> scenes;
    auto scene = [&](int season, int effect) {
        const std::string name =
            "Season" + std::to_string(season) + "_" + std::to_string(effect) + ".scr";
        for (const std::string& s : scenes)
            if (s == name) return;
        scenes.push_back(name);
        m.push_back({name, Bytes(SeasonScene(season, effect, 80) + "<QUIT>\r\n"), false});
    };
    for (int n = 1; n <= 6; ++n) {
        const int first = (n - 1) % 4;
        for (int k = 0; k < 4; ++k) scene((first + k) % 4, kOpenings[n - 1].seasonIn[k]);
        m.push_back({"Op" + std::to_string(n) + ".scr", Bytes(Opening(n)), false});
    }
    for (int n = 1; n <= 5; ++n) {
        for (int season = 0; season < 4; ++season) scene(season, 301 + (n + season) % 4);
        m.push_back({"Ed" + std::to_string(n) + ".scr", Bytes(Ending(n)), false});
    }
    if (!WritePack(root / "OpEd.Pak", m)) return false;
    if (!WriteBytes(root / "QDVOP_S.wav",
                    WaveImage(Song(Melody(false), 250, kRate, 523.25), kRate)))
        return false;
    if (!WriteBytes(root / "QDVOP_L.wav", WaveImage(Song(Melody(true), 300, kRate, 392.0), kRate)))
        return false;
    return WriteLogoMovie(root / "mivuto_s.avi");
}

}  // namespace mkgamedata
