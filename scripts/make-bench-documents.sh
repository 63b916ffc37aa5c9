#!/usr/bin/env bash
# Writes a long essay (about 300 pages of Russian prose, made up from a word list of
# this project) and has LibreOffice save it as .odt, .docx, .doc, .rtf and .pdf into OUTDIR
# (default build/bench-data), for bench_extract. Needs soffice and python3.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/build/bench-data}"
mkdir -p "$out"
profile="$(mktemp -d /tmp/parafrix-lo-XXXXXX)"
trap 'rm -rf "$profile"' EXIT

python3 - "$out/essay.txt" <<'PY'
import random, sys
random.seed(20240601)
nouns = ("студент реферат работа озеро станция вода ветер птица отчёт методика результат вывод "
         "литература уровень засуха поле насос группа таблица наблюдение весна осень лес роща "
         "берег река город библиотека учебник задача пример опыт прибор измерение").split()
verbs = ("изучал описал измерил записал сравнил заметил проверил обсудил собрал построил "
         "объяснил показал нашёл посчитал уточнил").split()
adjs = ("новый старый важный короткий длинный подробный точный общий тёплый холодный "
        "северный южный первый последний сложный").split()
def sentence():
    words = [random.choice(adjs), random.choice(nouns), random.choice(verbs)]
    words += [random.choice(adjs + nouns) for _ in range(random.randint(4, 12))]
    s = " ".join(words)
    return s[0].upper() + s[1:] + random.choice([".", ".", ".", "!", "?"])
with open(sys.argv[1], "w", encoding="utf-8") as f:
    for chapter in range(1, 31):
        f.write(f"Глава {chapter}\n\n")
        for _ in range(92):
            f.write(" ".join(sentence() for _ in range(random.randint(3, 7))) + "\n\n")
PY

lo() {
    soffice -env:UserInstallation="file://$profile" --headless --norestore --nologo --nodefault "$@" \
        >/dev/null 2>&1
}
lo --infilter="Text (encoded):UTF8,LF,,," --convert-to odt --outdir "$out" "$out/essay.txt"
lo --convert-to "docx:MS Word 2007 XML" --outdir "$out" "$out/essay.odt"
lo --convert-to "doc:MS Word 97" --outdir "$out" "$out/essay.odt"
lo --convert-to "rtf:Rich Text Format" --outdir "$out" "$out/essay.odt"
lo --convert-to pdf --outdir "$out" "$out/essay.odt"
pages=$(python3 -c "import re,sys; print(len(re.findall(rb'/Type\s*/Page[^s]', open(sys.argv[1],'rb').read())))" "$out/essay.pdf")
echo "bench documents in $out ($pages pages)"
