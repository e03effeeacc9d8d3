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
    <name>QCommandLineParser</name>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="22" />
        <source>Missing value after '%1'.</source>
        <translation>Не указано значение после '%1'.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="23" />
        <source>Unexpected value after '%1'.</source>
        <translation>Лишнее значение после '%1'.</translation>
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
        <location filename="../io/ResultFile.cpp" line="204" />
        <source>score of index %1</source>
        <translation>оценка индекса %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="205" />
        <source>score of statement %1</source>
        <translation>оценка утверждения %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="207" />
        <source>Line %1 (%2).</source>
        <translation>Строка %1 (%2).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="208" />
        <source>File %1, line %2 (%3).</source>
        <translation>Файл %1, строка %2 (%3).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="275" />
        <source>It is not a regular file (a folder, device, pipe or socket).</source>
        <translation>Это не обычный файл (папка, устройство, канал или сокет).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="360" />
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
<context>
    <name>ZolkCry</name>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="167" />
        <source>Try 'zolk-cry help' for more information.</source>
        <translation>Справка по командам: zolk-cry help</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="180" />
        <location filename="../tools/zolk-cry/Command.cpp" line="191" />
        <location filename="../tools/zolk-cry/main.cpp" line="87" />
        <source>OUTPUT</source>
        <translation>ВЫХОД</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="189" />
        <source>Writes to OUTPUT instead of standard output ("-"). A file is replaced only once all of it is written; a device or a pipe is written to.</source>
        <translation>Записывает в ВЫХОД вместо стандартного вывода ("-"). Файл заменяется, только когда он записан целиком; в устройство или канал запись идёт напрямую.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="192" />
        <location filename="../tools/zolk-cry/main.cpp" line="73" />
        <source>Shows this help.</source>
        <translation>Показывает эту справку.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="193" />
        <source>Usage: %1</source>
        <translation>Использование: %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="197" />
        <location filename="../tools/zolk-cry/main.cpp" line="72" />
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="220" />
        <source>The output %1 is one of the inputs; it would be replaced by what is read from it.</source>
        <translation>Выходной файл %1 — один из входных: он был бы заменён тем, что из него прочитано.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="226" />
        <source>The output %1 lies inside the input folder %2; the next run would read it as part of the group. Write it outside the folder.</source>
        <translation>Выходной файл %1 лежит внутри входной папки %2: следующий запуск прочитал бы его как часть группы. Запишите его вне этой папки.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="268" />
        <source>result files read: %1 of %2</source>
        <translation>прочитано файлов результатов: %1 из %2</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandDecode.cpp" line="15" />
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="22" />
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandDecode.cpp" line="17" />
        <source>Writes the plaintext of a result file.</source>
        <translation>Выводит открытый текст файла результатов.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandDecode.cpp" line="18" />
        <source>Deciphers the result file FILE (.cry) and writes its plaintext: to a terminal as text the
terminal shows, to a file or a pipe byte for byte as the file holds it (windows-1251 with
CR LF line ends). A file that does not read as a result file is refused.</source>
        <translation>Расшифровывает файл результатов ФАЙЛ (.cry) и выводит его открытый текст: в терминал — так,
чтобы терминал его показал, в файл или канал — байт в байт, как он хранится в файле (windows-1251,
строки оканчиваются CR LF). Файл, который не читается как файл результатов, отклоняется.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandDecode.cpp" line="21" />
        <source>Writes the plaintext in UTF-8 also to a file or a pipe.</source>
        <translation>Выводит открытый текст в UTF-8 и в файл или канал.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="23" />
        <source>Enciphers a plaintext into the letters of a result file.</source>
        <translation>Шифрует открытый текст в знаки файла результатов.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="24" />
        <source>Reads a plaintext from FILE, or from standard input where FILE is "-" or not given, in
UTF-8 (windows-1251 bytes with --raw), and writes the enciphered letters of a result file.</source>
        <translation>Читает открытый текст из ФАЙЛА (из стандартного ввода, если ФАЙЛ равен "-" или не указан)
в UTF-8 (с --raw — байты windows-1251) и выводит зашифрованные знаки файла результатов.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="26" />
        <source>Reads the plaintext as windows-1251 bytes, unchanged.</source>
        <translation>Читает открытый текст как байты windows-1251, без преобразования.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="37" />
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="43" />
        <source>Cannot read standard input.</source>
        <translation>Не удалось прочитать стандартный ввод.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="58" />
        <source>The text holds more than %1 bytes; a result file holds at most %2.</source>
        <translation>Текст длиннее %1 байт; файл результатов вмещает не больше %2.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="68" />
        <source>The text is not UTF-8; windows-1251 bytes are read with --raw.</source>
        <translation>Текст не в UTF-8; байты windows-1251 читаются с параметром --raw.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="70" />
        <source>The text holds characters that windows-1251 cannot hold.</source>
        <translation>В тексте есть символы, которых нет в windows-1251.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="74" />
        <source>The text holds a zero byte, which would end the plaintext.</source>
        <translation>В тексте есть нулевой байт, на котором открытый текст оборвался бы.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandEncode.cpp" line="76" />
        <source>The text holds %1 bytes; a result file holds at most %2.</source>
        <translation>Текст занимает %1 байт; файл результатов вмещает не больше %2.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="20" />
        <source>FILE_OR_FOLDER...</source>
        <translation>ФАЙЛ_ИЛИ_ПАПКА...</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="21" />
        <source>FILE_OR_FOLDER</source>
        <translation>ФАЙЛ_ИЛИ_ПАПКА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="22" />
        <source>Writes the scores of result files and folders as a table for a spreadsheet.</source>
        <translation>Выводит оценки из файлов результатов и папок таблицей для табличного редактора.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="23" />
        <source>Writes the scores of result files as a table: one row per file; a folder gives one row per
result file in it and a row with the group's mean. The first column names each file relative
to the folder that holds all the inputs. The table is CSV in UTF-8 that a spreadsheet opens
under the user's locale: ";" between fields and the decimal comma where the locale writes
numbers with a comma, "," and "." otherwise. An output named *.xlsx is an Excel workbook
instead, in which codes, names and dates are text and every score a number.
A file that cannot be read ends the command and nothing is written; with --skip-bad it is left
out and named on standard error with the reason. The output may not lie inside an input folder.</source>
        <translation>Выводит оценки из файлов результатов таблицей: по строке на файл; папка даёт по строке на каждый
файл результатов в ней и строку со средним по группе. Первый столбец называет файл относительно
папки, в которой лежат все входы. Таблица — CSV в UTF-8, которую табличный редактор открывает по
региональным настройкам пользователя: ";" между полями и десятичная запятая, где числа пишутся
с запятой, иначе "," и ".". Выходной файл с именем *.xlsx — книга Excel, в которой коды, имена
и даты — текст, а каждая оценка — число.
Файл, который не удаётся прочитать, прерывает команду, и ничего не записывается; с --skip-bad он
пропускается и называется с причиной в потоке ошибок. Выходной файл не может лежать внутри входной папки.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="33" />
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="35" />
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="28" />
        <source>Leaves out the files that cannot be read; fails only when none can.</source>
        <translation>Пропускает файлы, которые не удаётся прочитать; ошибка — только если не читается ни один.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="299" />
        <source>skipped: %1</source>
        <translation>пропущен: %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/Command.cpp" line="332" />
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="96" />
        <source>No input could be read: %1</source>
        <translation>Не удалось прочитать ни одного из указанных файлов и папок: %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="30" />
        <source>unknown option '%1'</source>
        <translation>неизвестный параметр '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="40" />
        <source>option '%1' takes no value</source>
        <translation>параметр '%1' не принимает значения</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="50" />
        <source>option '%1' needs a value</source>
        <translation>параметру '%1' нужно значение</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="58" />
        <source>Usage:</source>
        <translation>Использование:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="61" />
        <source>COMMAND</source>
        <translation>КОМАНДА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="63" />
        <source>Deciphers, enciphers and scores the result files (.cry) of the culture questionnaire.</source>
        <translation>Расшифровывает, шифрует и оценивает файлы результатов (.cry) опросника организационной культуры.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="64" />
        <source>Commands:</source>
        <translation>Команды:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="71" />
        <source>Describes a command and its options.</source>
        <translation>Описывает команду и её параметры.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="74" />
        <source>Shows the version of zolk-cry.</source>
        <translation>Показывает версию zolk-cry.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="76" />
        <source>Exit status: 0 when the command did its work; 1 when it could not (the reason is on
standard error); 2 when the command line is wrong.</source>
        <translation>Код завершения: 0 — команда выполнена; 1 — выполнить её не удалось (причина — в потоке
ошибок); 2 — командная строка неверна.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="101" />
        <source>missing argument %1</source>
        <translation>не указан аргумент %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="103" />
        <location filename="../tools/zolk-cry/main.cpp" line="136" />
        <source>unexpected argument '%1'</source>
        <translation>лишний аргумент '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="108" />
        <source>option '-o' given more than once</source>
        <translation>параметр '-o' указан больше одного раза</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="110" />
        <source>option '-o' needs a value</source>
        <translation>параметру '-o' нужно значение</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="148" />
        <location filename="../tools/zolk-cry/main.cpp" line="156" />
        <source>unknown command '%1'</source>
        <translation>неизвестная команда '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="151" />
        <source>no command given</source>
        <translation>не указана команда</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="16" />
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="16" />
        <source>FOLDER...</source>
        <translation>ПАПКА...</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="17" />
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="17" />
        <source>FOLDER</source>
        <translation>ПАПКА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="18" />
        <source>Writes the scores of a group's segments (departments) as a table for a spreadsheet.</source>
        <translation>Выводит оценки сегментов (подразделений) группы таблицей для табличного редактора.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="19" />
        <source>Splits the group of the result files in FOLDER (all of them, for several folders) by one of the
members' four information lines, or by sub-folder, and writes a table: the whole group first,
then one row per segment in name order, each with its number of members, the twelve index
scores, the four trait scores and the overall mean, computed as the window computes a group's.
A segment with fewer than N members (--min, 5 unless given, never below 3) shows its name and no
scores; its members count in the whole group. A folder whose sub-folders hold the result files
is split by sub-folder with --by folder; of several folders, each is named relative to the
folder that holds them all. The table is CSV for the user's locale, or an Excel workbook for an
output named *.xlsx. A file that cannot be read ends the command and nothing is written; with
--skip-bad it is left out and named on standard error.</source>
        <translation>Делит группу файлов результатов из ПАПКИ (из всех папок, если их несколько) по одной из четырёх
информационных строк участников или по подпапкам и выводит таблицу: сначала вся группа, затем по
строке на сегмент в порядке названий — число участников, двенадцать оценок индексов, четыре
оценки черт и общее среднее, вычисленные так же, как окно вычисляет их для группы.
Сегмент, в котором меньше N участников (--min, по умолчанию 5, не меньше 3), показывает только
название, без оценок; его участники входят во всю группу. Папку, файлы результатов которой лежат
в подпапках, делит по подпапкам --by folder; из нескольких папок каждая называется относительно
папки, в которой лежат все они. Таблица — CSV по региональным настройкам пользователя или книга
Excel, если выходной файл назван *.xlsx. Файл, который не удаётся прочитать, прерывает команду,
и ничего не записывается; с --skip-bad он пропускается и называется в потоке ошибок.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="31" />
        <source>Splits by information line 1 to 4, or by sub-folder.</source>
        <translation>Делит по информационной строке 1–4 или по подпапкам.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="33" />
        <source>Shows no scores of a segment with fewer than N members (5 unless given, at least 3).</source>
        <translation>Не показывает оценок сегмента, в котором меньше N участников (по умолчанию 5, не меньше 3).</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="46" />
        <source>option '--by' is required</source>
        <translation>параметр '--by' обязателен</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="50" />
        <source>option '--by' takes info1, info2, info3, info4 or folder, not '%1'</source>
        <translation>параметр '--by' принимает info1, info2, info3, info4 или folder, а не '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="56" />
        <source>option '--min' needs a whole number of at least %1</source>
        <translation>параметру '--min' нужно целое число не меньше %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="60" />
        <source>%1 is not a folder: segments are of the group of a folder.</source>
        <translation>%1 — не папка: сегменты бывают только у группы из папки.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="18" />
        <source>Writes the spread of a group's answers as a table for a spreadsheet.</source>
        <translation>Выводит разброс ответов группы таблицей для табличного редактора.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="19" />
        <source>Writes a table of the group of the result files in FOLDER (all of them, for several folders):
one row per index, trait and statement with the number of answers, the mean, the standard
deviation (of a sample, n - 1), the minimum and the maximum, and for each statement how many
members answered 1, 2, 3, 4 and 5 (each score rounded to the nearest whole answer). The table
is CSV for the user's locale, or an Excel workbook for an output named *.xlsx. A file that
cannot be read ends the command and nothing is written; with --skip-bad it is left out and
named on standard error.</source>
        <translation>Выводит таблицу по группе файлов результатов из ПАПКИ (из всех папок, если их несколько): по
строке на индекс, черту и утверждение — число ответов, среднее, стандартное отклонение (по
выборке, n - 1), минимум и максимум, а для каждого утверждения — сколько участников ответили 1,
2, 3, 4 и 5 (каждая оценка округляется до ближайшего целого ответа). Таблица — CSV по
региональным настройкам пользователя или книга Excel, если выходной файл назван *.xlsx. Файл,
который не удаётся прочитать, прерывает команду, и ничего не записывается; с --skip-bad он
пропускается и называется в потоке ошибок.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="39" />
        <source>%1 is not a folder: the spread is of the group of a folder.</source>
        <translation>%1 — не папка: разброс бывает только у группы из папки.</translation>
    </message>
</context>
</TS>