// Base64 coding speed of the mail library beside OpenSSL's block coder, on
// the same data in the same run, so the ratio is what to read.
#include "mail/MxCoder3to4.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string RandomBytes(std::size_t ASize) {
    std::mt19937 rng(57);
    std::string data(ASize, '\0');
    for (char& c : data)
        c = static_cast<char>(rng() & 0xFF);
    return data;
}

const std::size_t Sizes[] = {57, 4096, 1 << 20};

void OursEncode(benchmark::State& state) {
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    mail::TMxEncoderMIME encoder;
    for (auto _ : state)
        benchmark::DoNotOptimize(encoder.EncodeString(data));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void OpenSslEncode(benchmark::State& state) {
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    std::vector<unsigned char> out((data.size() + 2) / 3 * 4 + 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(data.data()),
                            static_cast<int>(data.size())));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void OursDecode(benchmark::State& state) {
    const std::string coded = mail::MxEncodeString<mail::TMxEncoderMIME>(
        RandomBytes(static_cast<std::size_t>(state.range(0))));
    mail::TMxDecoderMIME decoder;
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.DecodeString(coded));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void OpenSslDecode(benchmark::State& state) {
    const std::string coded = mail::MxEncodeString<mail::TMxEncoderMIME>(
        RandomBytes(static_cast<std::size_t>(state.range(0))));
    std::vector<unsigned char> out(coded.size() / 4 * 3 + 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(coded.data()),
                            static_cast<int>(coded.size())));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BySizes(benchmark::internal::Benchmark* b) {
    for (std::size_t size : Sizes)
        b->Arg(static_cast<std::int64_t>(size));
}

} // namespace

BENCHMARK(OpenSslEncode)->Apply(BySizes);
BENCHMARK(OursEncode)->Apply(BySizes);
BENCHMARK(OpenSslDecode)->Apply(BySizes);
BENCHMARK(OursDecode)->Apply(BySizes);
