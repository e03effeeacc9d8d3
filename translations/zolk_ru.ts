<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>FileOutput</name>
    <message>
        <location filename="../core/FileOutput.cpp" line="84" />
        <source>It is a folder.</source>
        <translation>Это папка.</translation>
    </message>
    <message>
        <location filename="../core/FileOutput.cpp" line="102" />
        <source>The write failed.</source>
        <translation>Запись не удалась.</translation>
    </message>
    <message>
        <location filename="../core/FileOutput.cpp" line="149" />
        <source>The write to standard output failed.</source>
        <translation>Запись в стандартный вывод не удалась.</translation>
    </message>
</context>
<context>
    <name>JpegCodec</name>
    <message>
        <location filename="../export/JpegCodec.cpp" line="127" />
        <source>An empty picture cannot be written as JPEG.</source>
        <translation>Пустое изображение нельзя записать в JPEG.</translation>
    </message>
    <message>
        <location filename="../export/JpegCodec.cpp" line="129" />
        <source>Not enough memory to write the picture as JPEG.</source>
        <translation>Недостаточно памяти для записи изображения в JPEG.</translation>
    </message>
    <message>
        <location filename="../export/JpegCodec.cpp" line="178" />
        <source>Not enough memory for a picture of %1 x %2.</source>
        <translation>Недостаточно памяти для изображения %1 x %2.</translation>
    </message>
</context>
<context>
    <name>ProfileLoader</name>
    <message>
        <location filename="../io/ProfileLoader.cpp" line="42" />
        <source>Not enough memory to read it.</source>
        <translation>Недостаточно памяти, чтобы его прочитать.</translation>
    </message>
    <message>
        <location filename="../io/ProfileLoader.cpp" line="240" />
        <source>No result file of the folder %1 can be read:</source>
        <translation>Ни один файл результатов в папке %1 не удалось прочитать:</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <location filename="../export/Report.cpp" line="124" />
        <source>The PDF writer could not start.</source>
        <translation>Не удалось начать запись PDF.</translation>
    </message>
    <message>
        <location filename="../export/Report.cpp" line="196" />
        <source>The PDF writer could not finish.</source>
        <translation>Не удалось завершить запись PDF.</translation>
    </message>
</context>
<context>
    <name>ResultFile</name>
    <message>
        <location filename="../io/ResultFile.cpp" line="160" />
        <source>score of index %1</source>
        <translation>оценка индекса %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="161" />
        <source>score of statement %1</source>
        <translation>оценка утверждения %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="163" />
        <source>Line %1 (%2).</source>
        <translation>Строка %1 (%2).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="164" />
        <source>File %1, line %2 (%3).</source>
        <translation>Файл %1, строка %2 (%3).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="231" />
        <source>It is not a regular file (a folder, device, pipe or socket).</source>
        <translation>Это не обычный файл (папка, устройство, канал или сокет).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="316" />
        <source>The file %1 is too large for a result file: a result file holds at most %2 letters.</source>
        <translation>Файл %1 слишком велик для файла результатов: в файле результатов не больше %2 знаков.</translation>
    </message>
</context>
<context>
    <name>ResultFolder</name>
    <message>
        <location filename="../io/ResultFolder.cpp" line="181" />
        <source>The folder %1 holds no result files (*.cry).</source>
        <translation>В папке %1 нет файлов результатов (*.cry).</translation>
    </message>
</context>
</TS>