// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtCore>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fuzzing {

using namespace Qt::StringLiterals;

// A broken property must end the process: only then does libFuzzer keep the input, and only
// then does the replay fail. The detail is built only then, so as not to slow the fuzzer.
template <typename Detail = QString (*)()>
void require(
    bool ok, const char *property, Detail &&detail = [] { return QString(); }) {
    if (ok)
        return;
    std::fprintf(stderr, "property violated: %s\n  %s\n", property,
                 QString(detail()).toUtf8().constData());
    std::abort();
}

// Locales whose separators, digits and grouping differ the most; seeds name theirs by a digit.
inline const QLocale &localeFor(uint8_t index) {
    static const QLocale locales[] = {QLocale(u"en_US"), QLocale(u"de_DE"), QLocale(u"fr_FR"),
                                      QLocale(u"de_CH"), QLocale(u"hi_IN"), QLocale(u"ar_EG"),
                                      QLocale(u"fa_IR"), QLocale(u"sv_SE"), QLocale::c()};
    return locales[index % std::size(locales)];
}

// A text with everything outside printable ASCII percent-encoded, for a failure report.
inline QString shown(const QString &text) {
    return u'"' +
           QString::fromLatin1(text.toUtf8().toPercentEncoding(" !#$&'()*+,-./:;<=>?@[]^_{|}~")) +
           u'"';
}

} // namespace fuzzing

#ifndef TITROVA_LIBFUZZER
// Without libFuzzer: every file of the corpus folder once, so the seeds and every input a fuzzer
// found stay tests of the ordinary build.
int main(int argc, char **argv) {
    const QDir corpus(argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    if (argc != 2 || names.isEmpty()) // a wrong path would pass as an empty corpus
        return std::fputs("usage: replay <corpus folder>\n", stderr), 1;
    for (const QString &name : names) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return std::fprintf(stderr, "cannot read %s\n", qPrintable(name)), 1;
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "input %s\n", qPrintable(name)); // an abort names no input
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                               size_t(bytes.size()));
    }
    std::printf("%lld inputs passed\n", qlonglong(names.size()));
}
#endif
