#!/usr/bin/env python3
# Fills the Russian translations of zolk_ru.ts that are still unfinished from the table below.
# Run after `lupdate core io export tools app -ts translations/zolk_ru.ts` has added new texts;
# a text that is not in the table stays unfinished and lrelease leaves it in English.
import sys
import xml.etree.ElementTree as ET

RUSSIAN = {
    "An empty picture cannot be written as JPEG.": "Пустое изображение нельзя записать в JPEG.",
    "Not enough memory to write the picture as JPEG.": "Недостаточно памяти для записи изображения в JPEG.",
    "Not enough memory for a picture of %1 x %2.": "Недостаточно памяти для изображения %1 x %2.",
    "Not enough memory to read it.": "Недостаточно памяти, чтобы его прочитать.",
    "No result file of the folder %1 can be read:": "Ни один файл результатов в папке %1 не удалось прочитать:",
    "The PDF writer could not start.": "Не удалось начать запись PDF.",
    "The PDF writer could not finish.": "Не удалось завершить запись PDF.",
    "score of index %1": "оценка индекса %1",
    "score of statement %1": "оценка утверждения %1",
    "Line %1 (%2).": "Строка %1 (%2).",
    "File %1, line %2 (%3).": "Файл %1, строка %2 (%3).",
    "It is not a regular file (a folder, device, pipe or socket).": "Это не обычный файл (папка, устройство, канал или сокет).",
    "The file %1 is too large for a result file: a result file holds at most %2 letters.":
        "Файл %1 слишком велик для файла результатов: в файле результатов не больше %2 знаков.",
    "The folder %1 holds no result files (*.cry).": "В папке %1 нет файлов результатов (*.cry).",
    "It is a folder.": "Это папка.",
    "The write failed.": "Запись не удалась.",
    "The write to standard output failed.": "Запись в стандартный вывод не удалась.",
}

path = sys.argv[1] if len(sys.argv) > 1 else "translations/zolk_ru.ts"
tree = ET.parse(path)
missing = []
for message in tree.iter("message"):
    source = message.find("source").text
    translation = message.find("translation")
    if translation.get("type") != "unfinished":
        continue
    if source in RUSSIAN:
        translation.text = RUSSIAN[source]
        del translation.attrib["type"]
    else:
        missing.append(source)
tree.write(path, encoding="utf-8", xml_declaration=True)
with open(path, "r+", encoding="utf-8") as f:
    text = f.read().replace("<?xml version='1.0' encoding='utf-8'?>", '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>', 1)
    f.seek(0); f.write(text); f.truncate()
for source in missing:
    print("untranslated:", source)
