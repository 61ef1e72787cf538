#include "platform/Movie.h"

#include <algorithm>
#include <cstring>

#include "platform/Files.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace ui {

namespace {

constexpr int kSoundRate = 44100;
constexpr int kSoundChannels = 2;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A RIFF WAVE image around 16-bit interleaved samples.
std::vector<std::uint8_t> WaveImage(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::uint8_t> out;
    const auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
    const std::uint32_t size = static_cast<std::uint32_t>(pcm.size());
    tag("RIFF");
    Put32(out, 36 + size);
    tag("WAVE");
    tag("fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, kSoundChannels);
    Put32(out, kSoundRate);
    Put32(out, kSoundRate * kSoundChannels * 2);
    Put16(out, kSoundChannels * 2);
    Put16(out, 16);
    tag("data");
    Put32(out, size);
    out.insert(out.end(), pcm.begin(), pcm.end());
    return out;
}

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using FramePtr = std::unique_ptr<AVFrame, FrameCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketCloser>;

FormatPtr OpenFormat(const std::string& file) {
    AVFormatContext* f = nullptr;
    if (avformat_open_input(&f, file.c_str(), nullptr, nullptr) < 0) return nullptr;
    FormatPtr p(f);
    if (avformat_find_stream_info(f, nullptr) < 0) return nullptr;
    return p;
}

CodecPtr OpenCodec(AVFormatContext* f, int stream) {
    const AVCodecParameters* par = f->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (codec == nullptr) return nullptr;
    CodecPtr c(avcodec_alloc_context3(codec));
    if (!c || avcodec_parameters_to_context(c.get(), par) < 0) return nullptr;
    c->thread_count = 1;
    if (avcodec_open2(c.get(), codec, nullptr) < 0) return nullptr;
    return c;
}

// The whole sound stream of the file, as 16-bit stereo at 44.1 kHz.
std::vector<std::uint8_t> DecodeSound(const std::string& file) {
    FormatPtr f = OpenFormat(file);
    if (!f) return {};
    const int stream = av_find_best_stream(f.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0) return {};
    CodecPtr c = OpenCodec(f.get(), stream);
    if (!c) return {};
    SwrContext* swr = nullptr;
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, kSoundChannels);
    if (c->ch_layout.nb_channels <= 0) av_channel_layout_default(&c->ch_layout, 1);
    if (swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, kSoundRate, &c->ch_layout,
                            c->sample_fmt, c->sample_rate, 0, nullptr) < 0 ||
        swr_init(swr) < 0) {
        swr_free(&swr);
        return {};
    }
    std::vector<std::uint8_t> pcm;
    PacketPtr pkt(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    const auto drain = [&]() {
        while (avcodec_receive_frame(c.get(), frame.get()) >= 0) {
            const int room = swr_get_out_samples(swr, frame->nb_samples);
            if (room <= 0) continue;
            const std::size_t at = pcm.size();
            pcm.resize(at + std::size_t(room) * kSoundChannels * 2);
            std::uint8_t* out = pcm.data() + at;
            const int got =
                swr_convert(swr, &out, room, const_cast<const std::uint8_t**>(frame->extended_data),
                            frame->nb_samples);
            pcm.resize(at + std::size_t(std::max(got, 0)) * kSoundChannels * 2);
        }
    };
    while (av_read_frame(f.get(), pkt.get()) >= 0) {
        if (pkt->stream_index == stream && avcodec_send_packet(c.get(), pkt.get()) >= 0) drain();
        av_packet_unref(pkt.get());
    }
    avcodec_send_packet(c.get(), nullptr);
    drain();
    swr_free(&swr);
    if (pcm.empty()) return {};
    return WaveImage(pcm);
}

}  // namespace

struct Movie::Impl {
    FormatPtr format;
    CodecPtr codec;
    int stream = -1;
    double timeBase = 0;  // seconds per pts unit
    PacketPtr packet;
    FramePtr frame;  // the picture shown now
    FramePtr next;   // the picture decoded ahead, not yet due
    bool haveNext = false;
    std::uint32_t frameMs = 0;
    std::uint32_t nextMs = 0;
    std::uint32_t frameLength = 40;  // ms a picture stays
    bool endOfStream = false;
    std::uint32_t lastEndMs = 0;
    std::uint32_t durationMs = 0;
    bool shownChanged = true;
    SwsContext* sws = nullptr;
    int swsW = 0, swsH = 0, swsSrcW = 0, swsSrcH = 0, swsFmt = -1;
    std::vector<std::uint8_t> sound;

    ~Impl() { sws_freeContext(sws); }

    std::uint32_t PtsMs(const AVFrame* f) const {
        std::int64_t pts = f->best_effort_timestamp;
        if (pts == AV_NOPTS_VALUE) pts = f->pts;
        if (pts == AV_NOPTS_VALUE) return nextMs + frameLength;
        const double ms = pts * timeBase * 1000.0;
        return ms < 0 ? 0 : static_cast<std::uint32_t>(ms);
    }

    // Decodes the next picture into `next`; false at the end of the stream.
    bool DecodeNext() {
        if (endOfStream) return false;
        for (;;) {
            const int r = avcodec_receive_frame(codec.get(), next.get());
            if (r >= 0) {
                nextMs = PtsMs(next.get());
                haveNext = true;
                lastEndMs = std::max(lastEndMs, nextMs + frameLength);
                return true;
            }
            if (r != AVERROR(EAGAIN)) {
                endOfStream = true;
                return false;
            }
            bool sent = false;
            while (!sent) {
                if (av_read_frame(format.get(), packet.get()) < 0) {
                    avcodec_send_packet(codec.get(), nullptr);  // drain what the decoder holds
                    sent = true;
                    break;
                }
                if (packet->stream_index == stream) {
                    const int s = avcodec_send_packet(codec.get(), packet.get());
                    sent = s >= 0 || s == AVERROR(EAGAIN);
                    if (s < 0 && s != AVERROR(EAGAIN)) {
                        av_packet_unref(packet.get());
                        endOfStream = true;
                        return false;
                    }
                }
                av_packet_unref(packet.get());
            }
        }
    }

    // Moves the decoded-ahead picture to the shown one and decodes the next.
    void Advance() {
        std::swap(frame, next);
        frameMs = nextMs;
        haveNext = false;
        shownChanged = true;
        DecodeNext();
    }
};

Movie::Movie() = default;
Movie::~Movie() = default;

bool Movie::IsOpen() const { return impl_ != nullptr; }

void Movie::Close() { impl_.reset(); }

bool Movie::Open(const std::string& path) {
    Close();
    const std::string file = FindPath(path);
    if (!FileExists(path)) return false;
    av_log_set_level(AV_LOG_QUIET);
    auto m = std::make_unique<Impl>();
    m->format = OpenFormat(file);
    if (!m->format) return false;
    m->stream = av_find_best_stream(m->format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m->stream < 0) return false;
    m->codec = OpenCodec(m->format.get(), m->stream);
    if (!m->codec) return false;
    AVStream* st = m->format->streams[m->stream];
    m->timeBase = av_q2d(st->time_base);
    const AVRational rate = av_guess_frame_rate(m->format.get(), st, nullptr);
    if (rate.num > 0 && rate.den > 0)
        m->frameLength =
            static_cast<std::uint32_t>(std::clamp(1000.0 * rate.den / rate.num, 1.0, 1000.0));
    if (m->format->duration > 0)
        m->durationMs = static_cast<std::uint32_t>(m->format->duration / (AV_TIME_BASE / 1000));
    m->packet.reset(av_packet_alloc());
    m->frame.reset(av_frame_alloc());
    m->next.reset(av_frame_alloc());
    if (!m->packet || !m->frame || !m->next) return false;
    // The first picture must decode, or the movie counts as undecodable.
    if (!m->DecodeNext() || m->next->width <= 0 || m->next->height <= 0) return false;
    m->Advance();
    m->sound = DecodeSound(file);
    impl_ = std::move(m);
    return true;
}

int Movie::Width() const { return impl_ ? impl_->frame->width : 0; }
int Movie::Height() const { return impl_ ? impl_->frame->height : 0; }

std::uint32_t Movie::DurationMs() const {
    if (!impl_) return 0;
    return impl_->endOfStream ? impl_->lastEndMs : std::max(impl_->durationMs, impl_->lastEndMs);
}

bool Movie::EndedAt(std::uint32_t ms) const {
    if (!impl_) return true;
    return impl_->endOfStream && !impl_->haveNext && ms >= impl_->lastEndMs;
}

const std::vector<std::uint8_t>& Movie::Sound() const {
    static const std::vector<std::uint8_t> none;
    return impl_ ? impl_->sound : none;
}

bool Movie::DrawAt(std::uint32_t ms, Bitmap& out, int w, int h) {
    if (!impl_ || w <= 0 || h <= 0) return false;
    Impl& m = *impl_;
    while (m.haveNext && m.nextMs <= ms) m.Advance();
    const bool resized =
        out.Width() != w || out.Height() != h || out.Format() != PixelFormat::pf32bit;
    if (!m.shownChanged && !resized) return false;
    if (resized) {
        out = Bitmap(w, h, PixelFormat::pf32bit);
    }
    const AVFrame* f = m.frame.get();
    if (m.sws == nullptr || m.swsW != w || m.swsH != h || m.swsSrcW != f->width ||
        m.swsSrcH != f->height || m.swsFmt != f->format) {
        sws_freeContext(m.sws);
        m.sws = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), w, h,
                               AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        m.swsW = w;
        m.swsH = h;
        m.swsSrcW = f->width;
        m.swsSrcH = f->height;
        m.swsFmt = f->format;
    }
    if (m.sws == nullptr) return false;
    std::uint8_t* dst[4] = {out.ScanLine(0), nullptr, nullptr, nullptr};
    int dstStride[4] = {out.Stride(), 0, 0, 0};
    sws_scale(m.sws, f->data, f->linesize, 0, f->height, dst, dstStride);
    // The fourth byte of each pixel is left as the scaler wrote it; the bitmap ignores it.
    out.Changed();
    m.shownChanged = false;
    return true;
}

}  // namespace ui
