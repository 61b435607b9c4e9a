// Quoted-printable decoding of the mail library beside CPython's
// binascii.a2b_qp on the same coded text, in the same run; the Python time
// is what a2b_qp takes per call, timed by Python itself. Read the ratio of
// the two times.
#include "mail/MxCoderQuotedPrintable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// An e-mail body: lines of words, some with accented letters (two bytes in
// UTF-8, coded as two escapes each), CR LF line ends.
std::string BodyText(std::size_t Size) {
    static const char* const Words[] = {"alert",  "job",     "Überstunden", "order", "due",
                                        "déjà",   "status",  "changed",     "from",  "to",
                                        "budget", "naïve",   "complete",    "the",   "of",
                                        "PO",     "quoted=", "tab\there",   "cost",  "£40"};
    std::mt19937 random(76);
    std::string text;
    std::size_t line = 0;
    while (text.size() < Size) {
        const std::string word = Words[random() % std::size(Words)];
        text += word;
        line += word.size();
        if (line > 60 + random() % 40) {
            text += "\r\n";
            line = 0;
        } else {
            text += ' ';
            ++line;
        }
    }
    return text;
}

std::string Coded(std::size_t Size) {
    return mail::MxEncodeString<mail::TMxEncoderQuotedPrintable>(BodyText(Size));
}

void OursQpDecode(benchmark::State& state) {
    const std::string coded = Coded(static_cast<std::size_t>(state.range(0)));
    mail::TMxDecoderQuotedPrintable decoder;
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.DecodeString(coded));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(coded.size()));
}

// Python is given the same coded bytes through a file and times its calls.
void CPythonA2bQp(benchmark::State& state) {
    const std::string coded = Coded(static_cast<std::size_t>(state.range(0)));
    char path[] = "/tmp/qp-bench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        state.SkipWithError("no temporary file");
        return;
    }
    close(fd);
    std::ofstream(path, std::ios::binary) << coded;
    const std::string command =
        std::string("python3 -c \"import binascii, sys, timeit; data = open(sys.argv[1], "
                    "'rb').read(); n, t = timeit.Timer(lambda: binascii.a2b_qp(data)).autorange(); "
                    "print(min(timeit.repeat(lambda: binascii.a2b_qp(data), number=n, repeat=5)) "
                    "/ n)\" ") +
        path;
    for (auto _ : state) {
        FILE* output = popen(command.c_str(), "r");
        char line[64] = {};
        const bool read = output && fgets(line, sizeof line, output) != nullptr;
        if (!output || pclose(output) != 0 || !read) {
            state.SkipWithError("python3 binascii failed");
            break;
        }
        state.SetIterationTime(std::strtod(line, nullptr));
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(coded.size()));
}

} // namespace

BENCHMARK(CPythonA2bQp)->Arg(4096)->Arg(1 << 20)->UseManualTime()->Iterations(1);
BENCHMARK(OursQpDecode)->Arg(4096)->Arg(1 << 20);
