<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AnswerSheet</name>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="295" />
        <source>no answer to statement %1</source>
        <translation>нет ответа на утверждение %1</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="300" />
        <source>the answer to statement %1 is not on the scale 1 to 5: %2</source>
        <translation>ответ на утверждение %1 вне шкалы от 1 до 5: %2</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="305" />
        <source>the answer to statement %1 cannot be read: %2</source>
        <translation>ответ на утверждение %1 не читается: %2</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="313" />
        <source>the code %1 is in more than one row (rows %2)</source>
        <translation>код %1 есть в нескольких строках (строки %2)</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="327" />
        <source>the text of "%1" is longer than %2 characters</source>
        <translation>текст в поле «%1» длиннее %2 знаков</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="334" />
        <source>no code</source>
        <translation>нет кода</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="366" />
        <source>no answer to statements %1</source>
        <translation>нет ответов на утверждения %1</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="398" />
        <location filename="../io/AnswerSheet.cpp" line="512" />
        <source>The sheet %1 cannot be read.</source>
        <translation>Таблицу %1 не удалось прочитать.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="400" />
        <source>The sheet %1 is empty.</source>
        <translation>Таблица %1 пуста.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="408" />
        <source>It is not a regular file.</source>
        <translation>Это не обычный файл.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="410" />
        <location filename="../io/AnswerSheet.cpp" line="418" />
        <source>It is larger than %1 MB.</source>
        <translation>Он больше %1 МБ.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="450" />
        <source>No column holds the answers to statements %1.</source>
        <translation>Ни в одном столбце нет ответов на утверждения %1.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="458" />
        <source>Column %1 is chosen for both "%2" and "%3".</source>
        <translation>Столбец %1 выбран и для «%2», и для «%3».</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="578" />
        <source>The column map %1 cannot be read.</source>
        <translation>Файл столбцов %1 не удалось прочитать.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="579" />
        <source>Line %1: %2</source>
        <translation>Строка %1: %2</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="591" />
        <source>it is not "key = column".</source>
        <translation>это не «ключ = столбец».</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="596" />
        <source>unknown key %1.</source>
        <translation>неизвестный ключ %1.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="598" />
        <source>the key %1 is named twice.</source>
        <translation>ключ %1 указан дважды.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="605" />
        <source>%1 is not a column number.</source>
        <translation>%1 — не номер столбца.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" line="609" />
        <location filename="../io/AnswerSheet.cpp" line="616" />
        <source>%1: the sheet has no column %2.</source>
        <translation>%1: в таблице нет столбца %2.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>no header, not used</source>
        <translation>нет заголовка, не используется</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>the same header as column %1, not used</source>
        <translation>тот же заголовок, что у столбца %1, не используется</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>not recognised, not used</source>
        <translation>не распознан, не используется</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>column %1 %2: %3</source>
        <translation>столбец %1 %2: %3</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source> … and %1 more</source>
        <translation> … и ещё %1</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>row %1 (%2)</source>
        <translation>строка %1 (%2)</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>Result files are written in windows-1251, which lacks some characters of the sheet: %1. They would be stored as &quot;?&quot; in %2 rows: %3.</source>
        <translation>Файлы результатов пишутся в кодировке windows-1251, в которой нет некоторых знаков таблицы: %1. Они были бы записаны как «?»; строк с ними: %2: %3.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>It is neither UTF-8 nor windows-1251 text: %1. Save it as UTF-8 and import it again.</source>
        <translation>Это текст ни в UTF-8, ни в windows-1251: %1. Сохраните таблицу в UTF-8 и импортируйте её снова.</translation>
    </message>
    <message>
        <location filename="../io/AnswerSheet.cpp" />
        <source>it is neither UTF-8 nor windows-1251 text (%1).</source>
        <translation>это текст ни в UTF-8, ни в windows-1251 (%1).</translation>
    </message>
</context>
<context>
    <name>CsvReader</name>
    <message>
        <location filename="../io/CsvReader.cpp" line="70" />
        <source>Row %1 opens a quoted field that never ends.</source>
        <translation>В строке %1 начинается поле в кавычках, которое нигде не заканчивается.</translation>
    </message>
    <message>
        <location filename="../io/CsvReader.cpp" />
        <source>line %1, byte %2 (0x%3)</source>
        <translation>строка %1, байт %2 (0x%3)</translation>
    </message>
</context>
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
    <name>GroupRepeats</name>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>These respondents are counted once; their repeats are left out:</source>
        <translation>Эти респонденты учтены один раз, их повторы не учитываются:</translation>
    </message>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>%1: read twice, through two of the folders named</source>
        <translation>%1: прочитан дважды, через две из названных папок</translation>
    </message>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>%1: the same file as %2, read twice</source>
        <translation>%1: тот же файл, что %2, прочитан дважды</translation>
    </message>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>%1: the same answers and header as %2</source>
        <translation>%1: те же ответы и заголовок, что в %2</translation>
    </message>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>… and %1 more</source>
        <translation>… и ещё %1</translation>
    </message>
    <message>
        <location filename="../io/GroupRepeats.cpp" line="0" />
        <source>These files carry the same code with different answers; each is counted (check whether one respondent answered twice):</source>
        <translation>У этих файлов один код, но разные ответы; учтены все (проверьте, не отвечал ли один респондент дважды):</translation>
    </message>
</context>
<context>
    <name>ProfileLoader</name>
    <message>
        <location filename="../io/ProfileLoader.cpp" line="43" />
        <source>Not enough memory to read it.</source>
        <translation>Недостаточно памяти, чтобы его прочитать.</translation>
    </message>
    <message>
        <location filename="../io/ProfileLoader.cpp" line="242" />
        <source>No result file of the folder %1 can be read:</source>
        <translation>Ни один файл результатов в папке %1 не удалось прочитать:</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="25" />
        <source>Missing value after '%1'.</source>
        <translation>Не указано значение после '%1'.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="26" />
        <source>Unexpected value after '%1'.</source>
        <translation>Лишнее значение после '%1'.</translation>
    </message>
</context>
<context>
    <name>PdfDocument</name>
    <message>
        <location filename="../export/PdfDocument.cpp" line="50" />
        <source>The document is laid out in points: the device must work at 72 dots per inch.</source>
        <translation>Документ размечен в пунктах: устройство должно работать с разрешением 72 точки на дюйм.</translation>
    </message>
    <message>
        <location filename="../export/PdfDocument.cpp" line="54" />
        <source>The PDF writer could not start.</source>
        <translation>Не удалось начать запись PDF.</translation>
    </message>
    <message>
        <location filename="../export/PdfDocument.cpp" line="63" />
        <source>The PDF writer could not finish.</source>
        <translation>Не удалось завершить запись PDF.</translation>
    </message>
</context>
<context>
    <name>ResultFile</name>
    <message>
        <location filename="../io/ResultFile.cpp" line="202" />
        <source>score of index %1</source>
        <translation>оценка индекса %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="203" />
        <source>score of statement %1</source>
        <translation>оценка утверждения %1</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="205" />
        <source>Line %1 (%2).</source>
        <translation>Строка %1 (%2).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="206" />
        <source>File %1, line %2 (%3).</source>
        <translation>Файл %1, строка %2 (%3).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="276" />
        <source>It is not a regular file (a folder, device, pipe or socket).</source>
        <translation>Это не обычный файл (папка, устройство, канал или сокет).</translation>
    </message>
    <message>
        <location filename="../io/ResultFile.cpp" line="361" />
        <source>The file %1 is too large for a result file: a result file holds at most %2 letters.</source>
        <translation>Файл %1 слишком велик для файла результатов: в файле результатов не больше %2 знаков.</translation>
    </message>
</context>
<context>
    <name>ResultFolder</name>
    <message>
        <location filename="../io/ResultFolder.cpp" line="189" />
        <source>The folder %1 holds no result files (*.cry).</source>
        <translation>В папке %1 нет файлов результатов (*.cry).</translation>
    </message>
    <message>
        <location filename="../io/ResultFolder.cpp" />
        <source>Cannot read the folder %1.</source>
        <translation>Не удалось прочитать папку %1.</translation>
    </message>
</context>
<context>
    <name>SheetImport</name>
    <message>
        <location filename="../io/SheetImport.cpp" line="61" />
        <location filename="../io/SheetImport.cpp" line="77" />
        <source>The write failed.</source>
        <translation>Запись не удалась.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="105" />
        <source>A file of that name exists.</source>
        <translation>Файл с таким именем уже есть.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="107" />
        <source>The move failed.</source>
        <translation>Перемещение не удалось.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="123" />
        <source>Cannot make the folder %1: a file has that name.</source>
        <translation>Не удалось создать папку %1: так называется файл.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="129" />
        <source>Cannot make the folder %1.</source>
        <translation>Не удалось создать папку %1.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="248" />
        <source>The sheet has fewer rows than were checked.</source>
        <translation>В таблице меньше строк, чем было проверено.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="278" />
        <source>Row %1 of the sheet is not as it was checked.</source>
        <translation>Строка %1 таблицы не такая, какой была при проверке.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="298" />
        <source>Not enough memory to write the result files.</source>
        <translation>Недостаточно памяти для записи файлов результатов.</translation>
    </message>
    <message>
        <location filename="../io/SheetImport.cpp" line="436" />
        <source>%1 replaced files could not be put back; they are in the folder %2 (named old-N).</source>
        <translation>Заменённые файлы (%1) не удалось вернуть на место; они лежат в папке %2 (под именами old-N).</translation>
    </message>
</context>
<context>
    <name>XlsxTable</name>
    <message>
        <location filename="../export/XlsxTable.cpp" line="179" />
        <source>The workbook could not be written: %1</source>
        <translation>Не удалось записать книгу Excel: %1</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="218" />
        <source>The table has %1 columns; a worksheet holds at most %2.</source>
        <translation>В таблице %1 столбцов; лист вмещает не больше %2.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="222" />
        <source>The table has %1 rows; a worksheet holds at most %2 besides its header.</source>
        <translation>В таблице %1 строк; лист вмещает не больше %2, кроме строки заголовков.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="228" />
        <source>No temporary folder could be made in %1: %2</source>
        <translation>Не удалось создать временную папку в %1: %2</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="236" />
        <source>The workbook could not be written: numbers would not be written with a dot.</source>
        <translation>Не удалось записать книгу Excel: числа не были бы записаны с точкой.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="245" />
        <source>The workbook could not be written: out of memory.</source>
        <translation>Не удалось записать книгу Excel: недостаточно памяти.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="250" />
        <source>The workbook could not be written: no temporary file could be made in %1</source>
        <translation>Не удалось записать книгу Excel: не удалось создать временный файл в %1</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="267" />
        <source>The header of column %1 has %2 characters; a cell holds at most %3.</source>
        <translation>Заголовок столбца %1 длиной %2 символов; ячейка вмещает не больше %3.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="300" />
        <source>Row %1, column &quot;%2&quot; holds %3 characters; a workbook cell holds at most %4.</source>
        <translation>В строке %1, в столбце «%2» %3 символов; ячейка книги вмещает не больше %4.</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="334" />
        <source> (in the temporary folder %1)</source>
        <translation> (во временной папке %1)</translation>
    </message>
    <message>
        <location filename="../export/XlsxTable.cpp" line="338" />
        <location filename="../export/XlsxTable.cpp" line="342" />
        <source>The workbook written to %1 could not be read back: %2</source>
        <translation>Записанную книгу %1 не удалось прочитать: %2</translation>
    </message>
</context>
<context>
    <name>TemporaryFiles</name>
    <message>
        <location filename="../core/TemporaryFiles.cpp" />
        <source>Cannot make a temporary folder in %1.</source>
        <translation>Не удалось создать временную папку в %1.</translation>
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
        <location filename="../tools/zolk-cry/main.cpp" line="90" />
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
        <location filename="../tools/zolk-cry/main.cpp" line="76" />
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
        <location filename="../tools/zolk-cry/main.cpp" line="75" />
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
out and named on standard error with the reason. The output may not lie inside an input folder.
Each respondent counts once: an input named twice is read once, and in a folder a file with
the same header and scores as another is left out; both are named on standard error, as are
files of one code with different answers.</source>
        <translation>Выводит оценки из файлов результатов таблицей: по строке на файл; папка даёт по строке на каждый
файл результатов в ней и строку со средним по группе. Первый столбец называет файл относительно
папки, в которой лежат все входы. Таблица — CSV в UTF-8, которую табличный редактор открывает по
региональным настройкам пользователя: ";" между полями и десятичная запятая, где числа пишутся
с запятой, иначе "," и ".". Выходной файл с именем *.xlsx — книга Excel, в которой коды, имена
и даты — текст, а каждая оценка — число.
Файл, который не удаётся прочитать, прерывает команду, и ничего не записывается; с --skip-bad он
пропускается и называется с причиной в потоке ошибок. Выходной файл не может лежать внутри входной папки.
Каждый респондент учитывается один раз: вход, названный дважды, читается один раз, а файл папки с
тем же заголовком и оценками, что у другого, пропускается; о них сообщается в потоке ошибок, как и о
файлах с одним кодом и разными ответами.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="0" />
        <source>%1 is named twice; it is read once.</source>
        <translation>%1 назван дважды; он читается один раз.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandScores.cpp" line="33" />
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="37" />
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
        <location filename="../tools/zolk-cry/main.cpp" line="33" />
        <source>unknown option '%1'</source>
        <translation>неизвестный параметр '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="43" />
        <source>option '%1' takes no value</source>
        <translation>параметр '%1' не принимает значения</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="53" />
        <source>option '%1' needs a value</source>
        <translation>параметру '%1' нужно значение</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="61" />
        <source>Usage:</source>
        <translation>Использование:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="64" />
        <source>COMMAND</source>
        <translation>КОМАНДА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="66" />
        <source>Deciphers, enciphers and scores the result files (.cry) of the culture questionnaire.</source>
        <translation>Расшифровывает, шифрует и оценивает файлы результатов (.cry) опросника организационной культуры.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="67" />
        <source>Commands:</source>
        <translation>Команды:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="74" />
        <source>Describes a command and its options.</source>
        <translation>Описывает команду и её параметры.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="77" />
        <source>Shows the version of zolk-cry.</source>
        <translation>Показывает версию zolk-cry.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="79" />
        <source>Exit status: 0 when the command did its work; 1 when it could not (the reason is on
standard error); 2 when the command line is wrong.</source>
        <translation>Код завершения: 0 — команда выполнена; 1 — выполнить её не удалось (причина — в потоке
ошибок); 2 — командная строка неверна.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="104" />
        <source>missing argument %1</source>
        <translation>не указан аргумент %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="106" />
        <location filename="../tools/zolk-cry/main.cpp" line="139" />
        <source>unexpected argument '%1'</source>
        <translation>лишний аргумент '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="111" />
        <source>option '-o' given more than once</source>
        <translation>параметр '-o' указан больше одного раза</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="113" />
        <source>option '-o' needs a value</source>
        <translation>параметру '-o' нужно значение</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="151" />
        <location filename="../tools/zolk-cry/main.cpp" line="159" />
        <source>unknown command '%1'</source>
        <translation>неизвестная команда '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/main.cpp" line="154" />
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
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="18" />
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="25" />
        <source>FILE.csv</source>
        <translation>ФАЙЛ.csv</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="20" />
        <source>Writes the rows of an answer sheet (CSV) as result files, one per respondent.</source>
        <translation>Записывает строки таблицы ответов (CSV) как файлы результатов, по файлу на участника.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="21" />
        <source>Reads an answer sheet as online forms and spreadsheets export it (UTF-8 with or without a
byte-order mark, or windows-1251; &quot;,&quot;, &quot;;&quot; or tabs between fields; quoted fields may hold line
breaks), one respondent per row, and writes each row as a result file into FOLDER, named from
its code (&quot;0042.cry&quot;). Answers are 1 to 5 or the answer words (&quot;полностью не согласен&quot; ...
&quot;полностью согласен&quot;); statements worded negatively are scored in reverse, and each index score
is the mean of its five statements. The columns are found by their header words (the header
that &quot;zolk-cry questionnaire --template&quot; writes, numbered statements, form timestamps), or by
the column map: --map MAPFILE, else the map saved in FOLDER by an earlier import. The map used
is saved in FOLDER as zolk-import-map.txt, a line &quot;key = column&quot; per field (keys date, code,
name, info1..info4, s1..s60; a column is its header text or #N, the N-th column).
A row with a missing or unreadable answer, an answer beyond 1 to 5, no code or a code that
another row holds too is never written; every such row is named on standard error with the
reason, and then nothing is written at all unless --skip-bad is given, which writes the good
rows; at most 20 problems are named, each once with its first rows. A row whose code and
answers a result file in FOLDER already holds is not written again (&quot;already there&quot;); a row
whose code FOLDER holds with other answers replaces that file only with --overwrite, and is
otherwise not written. Another file of the same name in FOLDER is kept and the new one numbered
(&quot;0042 (2).cry&quot;) unless --overwrite is given. Names, codes and information lines with
characters that result files (windows-1251) cannot hold are named, and nothing is written
unless --replace-unstorable stores them as &quot;?&quot;. A saved map applies only to a sheet with the
header row it was made for; columns that no field takes are named. A sheet that is neither
UTF-8 nor windows-1251 is refused with the line and byte. The import is whole or nothing: a
failure leaves FOLDER as it was; an existing folder is filled in place.</source>
        <translation>Читает таблицу ответов в том виде, в каком её выгружают онлайн-формы и электронные таблицы (UTF-8
с меткой порядка байтов или без неё либо windows-1251; между полями «,», «;» или табуляция; поля в
кавычках могут содержать переводы строк), по участнику на строку, и записывает каждую строку как
файл результатов в ПАПКУ под именем по коду («0042.cry»). Ответы — числа от 1 до 5 или слова ответа
(«полностью не согласен» ... «полностью согласен»); утверждения с отрицательной формулировкой
оцениваются обратно, а оценка индекса — среднее пяти его утверждений. Столбцы находятся по словам
заголовка (заголовок, который пишет «zolk-cry questionnaire --template», номера утверждений,
отметки времени форм) или по файлу столбцов: --map ФАЙЛ_СТОЛБЦОВ, иначе по файлу, сохранённому в
ПАПКЕ прежним импортом. Использованный файл столбцов сохраняется в ПАПКЕ как zolk-import-map.txt:
строка «ключ = столбец» на поле (ключи date, code, name, info1..info4, s1..s60; столбец — текст его
заголовка или #N, N-й столбец).
Строка с пропущенным или нечитаемым ответом, ответом вне шкалы 1–5, без кода или с кодом, который
есть и в другой строке, не записывается никогда; каждая такая строка называется в потоке ошибок с
причиной, и тогда не записывается ничего, если не указан --skip-bad (он записывает годные строки);
называется не больше 20 проблем, каждая один раз со своими первыми строками. Строка, код и ответы
которой уже есть в файле результатов в ПАПКЕ, повторно не записывается («уже есть»); строка, код
которой есть в ПАПКЕ с другими ответами, заменяет тот файл только с --overwrite, иначе не
записывается. Другой файл с тем же именем в ПАПКЕ сохраняется, а новый получает номер
(«0042 (2).cry»), если не указан --overwrite. ФИО, коды и сведения со знаками, которых нет в
кодировке файлов результатов (windows-1251), называются, и не записывается ничего, если не указан
--replace-unstorable (он записывает их как «?»). Сохранённый файл столбцов применяется только к
таблице с тем заголовком, для которого он составлен; столбцы, не взятые ни одним полем, называются.
Таблица ни в UTF-8, ни в windows-1251 отклоняется с указанием строки и байта. Импорт выполняется
целиком или никак: при сбое ПАПКА остаётся прежней; существующая папка заполняется на месте.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="38" />
        <source>The folder for the result files (made where missing).</source>
        <translation>Папка для файлов результатов (создаётся, если её нет).</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="39" />
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="17" />
        <location filename="../tools/zolk-cry/CommandSpread.cpp" line="17" />
        <source>FOLDER</source>
        <translation>ПАПКА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="40" />
        <source>Takes the columns from MAPFILE.</source>
        <translation>Берёт столбцы из ФАЙЛА_СТОЛБЦОВ.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="40" />
        <source>MAPFILE</source>
        <translation>ФАЙЛ_СТОЛБЦОВ</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="41" />
        <source>Writes the good rows when some rows cannot be imported.</source>
        <translation>Записывает годные строки, даже если часть строк импортировать нельзя.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="42" />
        <source>Replaces files of the same name in FOLDER.</source>
        <translation>Заменяет файлы с теми же именами в ПАПКЕ.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="62" />
        <source>cannot open the column map %1: %2</source>
        <translation>не удалось открыть файл столбцов %1: %2</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="68" />
        <source>the column map %1 does not fit the sheet:</source>
        <translation>файл столбцов %1 не подходит к таблице:</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="78" />
        <source>missing option -o FOLDER</source>
        <translation>не указан параметр -o ПАПКА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="89" />
        <source>Name the columns with --map MAPFILE.</source>
        <translation>Укажите столбцы через --map ФАЙЛ_СТОЛБЦОВ.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="91" />
        <source>row %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="98" />
        <source>%1 of %2 rows cannot be imported; nothing was written (--skip-bad writes the others).</source>
        <translation>Строк, которые нельзя импортировать: %1 из %2; ничего не записано (с --skip-bad записываются остальные).</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="102" />
        <source>The sheet has no row to import.</source>
        <translation>В таблице нет строк для импорта.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" line="116" />
        <source>%1 result files written to %2 (%3 replaced; already there: %4).</source>
        <translation>Записано файлов результатов: %1 в %2 (заменено: %3; уже есть: %4).</translation>
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
scores; its members count in the whole group. More segments are hidden, with their size shown,
where subtraction would give away fewer than N members: the hidden segments of a split together
hold at least N, and no shown segment lies inside a shown one of another split (any information
line, sub-folder or the whole group) that has fewer than N members more. The hidden set is the
same whichever split is asked for. A respondent read twice (the same file, or a copy) counts once;
the repeats, and files with one code and different answers, are named on standard error.
A folder whose sub-folders hold the result files
is split by sub-folder with --by folder; of several folders, each is named relative to the
folder that holds them all. The table is CSV for the user's locale, or an Excel workbook for an
output named *.xlsx. A file that cannot be read ends the command and nothing is written; with
--skip-bad it is left out and named on standard error.</source>
        <translation>Делит группу файлов результатов из ПАПКИ (из всех папок, если их несколько) по одной из четырёх
информационных строк участников или по подпапкам и выводит таблицу: сначала вся группа, затем по
строке на сегмент в порядке названий — число участников, двенадцать оценок индексов, четыре
оценки черт и общее среднее, вычисленные так же, как окно вычисляет их для группы.
Сегмент, в котором меньше N участников (--min, по умолчанию 5, не меньше 3), показывает только
название, без оценок; его участники входят во всю группу. Скрываются и другие сегменты (с числом
участников), если вычитанием можно узнать оценки менее чем N участников: скрытые сегменты одного
разбиения вместе содержат не меньше N, и ни один показанный сегмент не лежит внутри показанного
сегмента другого разбиения (любой информационной строки, подпапок или всей группы), в котором
участников меньше чем на N больше. Скрытые сегменты одни и те же при любом разбиении. Респондент,
прочитанный дважды (тот же файл или копия), учитывается один раз; о повторах и о файлах с одним
кодом и разными ответами сообщается в потоке ошибок.
Папку, файлы результатов которой лежат
в подпапках, делит по подпапкам --by folder; из нескольких папок каждая называется относительно
папки, в которой лежат все они. Таблица — CSV по региональным настройкам пользователя или книга
Excel, если выходной файл назван *.xlsx. Файл, который не удаётся прочитать, прерывает команду,
и ничего не записывается; с --skip-bad он пропускается и называется в потоке ошибок.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="33" />
        <source>Splits by information line 1 to 4, or by sub-folder.</source>
        <translation>Делит по информационной строке 1–4 или по подпапкам.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="35" />
        <source>Shows no scores of a segment with fewer than N members (5 unless given, at least 3).</source>
        <translation>Не показывает оценок сегмента, в котором меньше N участников (по умолчанию 5, не меньше 3).</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="48" />
        <source>option '--by' is required</source>
        <translation>параметр '--by' обязателен</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="52" />
        <source>option '--by' takes info1, info2, info3, info4 or folder, not '%1'</source>
        <translation>параметр '--by' принимает info1, info2, info3, info4 или folder, а не '%1'</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="58" />
        <source>option '--min' needs a whole number of at least %1</source>
        <translation>параметру '--min' нужно целое число не меньше %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandSegments.cpp" line="62" />
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
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="15" />
        <source>Writes the blank questionnaire as a PDF, and the answer sheet's template.</source>
        <translation>Записывает чистую анкету в PDF и шаблон таблицы ответов.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="16" />
        <source>Writes the blank questionnaire for the respondents as an A4 PDF: the instruction, the header
fields (date, code, name and the four information lines) and the sixty statements with five
boxes each; with --no-name an anonymous questionnaire without the name line, and a template
without the name column. The captions of the information lines are those set in the window
("Импорт" -&gt; "Анкета"), else "Подразделение", "Должность", "Стаж работы в компании",
"Возраст".
With --template, also the header row of the matching answer sheet as CSV for an online form
or a spreadsheet (UTF-8 with a byte-order mark, ";" where the locale writes a decimal comma);
"zolk-cry import" finds every column of a sheet with this header by itself.</source>
        <translation>Записывает чистую анкету для участников опроса в PDF формата A4: инструкцию, поля заголовка (дата,
код, ФИО и четыре строки сведений) и шестьдесят утверждений с пятью клетками у каждого; с --no-name —
анонимную анкету без строки ФИО и шаблон без столбца ФИО. Подписи
строк сведений — те, что заданы в окне программы («Импорт» -&gt; «Анкета»), иначе «Подразделение»,
«Должность», «Стаж работы в компании», «Возраст».
С --template записывается и строка заголовков подходящей таблицы ответов в CSV для онлайн-формы
или электронной таблицы (UTF-8 с меткой порядка байтов, «;» там, где региональные настройки пишут
десятичную запятую); «zolk-cry import» сам находит все столбцы таблицы с таким заголовком.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="24" />
        <source>Writes the answer sheet's header row to FILE.csv.</source>
        <translation>Записывает строку заголовков таблицы ответов в ФАЙЛ.csv.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="27" />
        <source>Asks no name: for an anonymous survey.</source>
        <translation>Без строки ФИО: для анонимного опроса.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="33" />
        <source>option '--template' needs a value</source>
        <translation>параметру '--template' нужно значение</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="35" />
        <source>a PDF is not for a terminal: name the file with -o FILE.pdf</source>
        <translation>PDF не выводится в терминал: укажите файл через -o ФАЙЛ.pdf</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandQuestionnaire.cpp" line="37" />
        <source>the questionnaire and the template cannot be the same file</source>
        <translation>анкета и шаблон не могут быть одним и тем же файлом</translation>
    </message>
    <message>
        <source>The table is CSV for the user's locale, or an Excel workbook for an output named *.xlsx. A
figure that cannot be computed (fewer than two members, a statement everyone answered alike)
is the text &quot;не определено&quot;. A file that cannot be read ends the command and nothing is
written; with --skip-bad it is left out and named on standard error.</source>
        <translation>Таблица — CSV в формате, принятом в системе пользователя, или книга Excel, если имя вывода
оканчивается на *.xlsx. Показатель, который нельзя вычислить (меньше двух анкет, утверждение,
на которое все ответили одинаково), записан текстом «не определено». Файл, который не удаётся
прочитать, прерывает команду, и ничего не записывается; с --skip-bad он пропускается и
называется в стандартном потоке ошибок.</translation>
    </message>
    <message>
        <source>Leaves out a segment with fewer than N members (5 unless given, at least 3).</source>
        <translation>Пропускает сегменты, в которых меньше N анкет (5, если не задано, не меньше 3).</translation>
    </message>
    <message>
        <source>Writes the reliability of the indices and traits in a group as a table.</source>
        <translation>Записывает надёжность индексов и черт группы в виде таблицы.</translation>
    </message>
    <message>
        <source>Writes one row per index (1 to 12) and trait (1 to 4) of the group of the result files in
FOLDER (all of them, for several folders): its name, the number of members, Cronbach's
alpha (from the covariances of its statements), the lower and upper bound of its 95 %
interval (Feldt) and the mean correlation between its statements.</source>
        <translation>Записывает по строке на каждый индекс (1–12) и черту (1–4) группы файлов результатов в ПАПКЕ
(всех, если папок несколько): название, число анкет, альфу Кронбаха (по ковариациям её
утверждений), нижнюю и верхнюю границы 95-процентного интервала (по Фельдту) и среднюю
корреляцию её утверждений.</translation>
    </message>
    <message>
        <source>Writes the statistics of each statement in a group as a table.</source>
        <translation>Записывает статистику каждого утверждения группы в виде таблицы.</translation>
    </message>
    <message>
        <source>Writes one row per statement (1 to 60) of the group of the result files in FOLDER: the
statement, its index, the number of members, the mean, the standard deviation (n - 1),
its correlation with the sum of the other statements of its index and the alpha of its
index without it.</source>
        <translation>Записывает по строке на каждое утверждение (1–60) группы файлов результатов в ПАПКЕ:
утверждение, его индекс, число анкет, среднее, стандартное отклонение (n - 1), корреляцию с
суммой остальных утверждений его индекса и альфу индекса без него.</translation>
    </message>
    <message>
        <source>Writes each segment's difference from the rest of the group, with its significance.</source>
        <translation>Записывает отличие каждого сегмента от остальной группы и его значимость.</translation>
    </message>
    <message>
        <source>Splits the group of the result files in FOLDER as 'segments' does and writes one row per
segment that shows its scores (name order) and index (1 to 12): the segment, the index,
its size, its mean, the mean of the rest of the group, the difference, the bounds of its
95 % interval and p of Welch's test, p adjusted by Holm over all rows, and Hedges' g.
Segments with fewer than N members (--min), and the one that protects a single such
segment, are left out; their members count in the rest of the group.</source>
        <translation>Делит группу файлов результатов в ПАПКЕ, как команда 'segments', и записывает по строке на
каждый сегмент с оценками (по имени) и индекс (1–12): сегмент, индекс, размер, его среднее,
среднее остальной группы, разность, границы её 95-процентного интервала и p теста Уэлча, p с
поправкой Холма по всем строкам и g Хеджеса. Сегменты, в которых меньше N анкет (--min), и
сегмент, защищающий единственный такой сегмент, не выводятся; их анкеты входят в остальную группу.</translation>
    </message>
    <message>
        <source>Writes the agreement within segments and the ICCs across them.</source>
        <translation>Записывает согласие внутри сегментов и ICC между ними.</translation>
    </message>
    <message>
        <source>Splits the group of the result files in FOLDER as 'segments' does and writes one row per
index (1 to 12): the index, ICC(1) and ICC(2) across the segments that show their scores,
then one column per such segment (name order) with its rwg(j), the agreement of its
members on the index's five statements.</source>
        <translation>Делит группу файлов результатов в ПАПКЕ, как команда 'segments', и записывает по строке на
каждый индекс (1–12): индекс, ICC(1) и ICC(2) по сегментам с оценками, затем по столбцу на
каждый такой сегмент (по имени) с его rwg(j) — согласием его анкет по пяти утверждениям индекса.</translation>
    </message>
    <message>
        <source>%1 is not a folder: the statistics are of the group of a folder.</source>
        <translation>%1 — не папка: статистика вычисляется для группы из папки.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>INPUT...</source>
        <translation>ВХОД...</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>INPUT</source>
        <translation>ВХОД</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>Writes the PDF report of a respondent or a group, or a report per department.</source>
        <translation>Записывает отчёт PDF по респонденту или группе либо отчёт по каждому подразделению.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>Writes the report for the client as the window&apos;s &quot;Save&quot; -&gt; &quot;Report&quot; does: of the respondent in
the result file INPUT, or of the group of the result files in the folder INPUT (all of them, for
several folders), to -o FILE.pdf. The title block comes from --company, --consultant and --date.
No report lists the members of a group.
With --by, a pack into the folder -o FOLDER (made where missing): &quot;Вся группа.pdf&quot; and one
report per segment of the split (information line 1 to 4, or sub-folder), named by the segment
and compared with the whole group. A segment with fewer than N members (--min, 5 unless given,
never below 3) gets no report, nor does the one that would give it away (as in &quot;segments&quot;).
Each file is written whole or not at all; a file of the same name is replaced.</source>
        <translation>Записывает отчёт для клиента, как «Save» -&gt; «Report» в окне: по респонденту из файла результатов
ВХОД или по группе файлов результатов в папке ВХОД (по всем, если папок несколько) в -o ФАЙЛ.pdf.
Шапка отчёта берётся из --company, --consultant и --date. Ни один отчёт не перечисляет участников
группы.
С --by — комплект в папку -o ПАПКА (создаётся, если её нет): «Вся группа.pdf» и по отчёту на
каждый сегмент разбиения (информационная строка 1–4 или подпапка), названный по сегменту и в
сравнении со всей группой. Сегмент, где меньше N анкет (--min, по умолчанию 5, не меньше 3),
отчёта не получает, как и тот, по которому его можно было бы вычислить (как в «segments»).
Каждый файл записывается целиком или не записывается; файл с тем же именем заменяется.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>A report per segment: by information line 1 to 4, or by sub-folder.</source>
        <translation>Отчёт по каждому сегменту: по информационной строке 1–4 или по подпапке.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>No report of a segment with fewer than N members (5 unless given, at least 3).</source>
        <translation>Нет отчёта по сегменту, где меньше N анкет (по умолчанию 5, не меньше 3).</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>The company in the title block.</source>
        <translation>Компания в шапке отчёта.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>TEXT</source>
        <translation>ТЕКСТ</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>The consultant in the title block.</source>
        <translation>Консультант в шапке отчёта.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>The survey&apos;s date in the title block.</source>
        <translation>Дата опроса в шапке отчёта.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>a pack of reports needs a folder: name it with -o FOLDER</source>
        <translation>для комплекта отчётов нужна папка: укажите её в -o ПАПКА</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>a report is of one result file or of folders of them, not of several files</source>
        <translation>отчёт составляется по одному файлу результатов или по папкам, а не по нескольким файлам</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>%1 is not a folder: a report per segment is of the group of a folder.</source>
        <translation>%1 — не папка: отчёты по сегментам бывают только у группы из папки.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>%1 is not a folder: a pack of reports goes into a folder.</source>
        <translation>%1 — не папка: комплект отчётов записывается в папку.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>Cannot create the folder %1.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandReport.cpp" line="1" />
        <source>zolk-cry: %1 segments get no report: fewer than %2 members, or they would give such a segment away.
</source>
        <translation>zolk-cry: сегментов без отчёта: %1 (меньше %2 анкет, или по ним можно было бы вычислить такой сегмент).
</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>Writes characters that result files cannot hold (windows-1251) as &quot;?&quot;.</source>
        <translation>Записывает знаки, которых нет в кодировке файлов результатов (windows-1251), как «?».</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>there is no such file</source>
        <translation>такого файла нет</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>the column map %1 was made for a sheet with other columns; the columns are found by their headers</source>
        <translation>файл столбцов %1 составлен для таблицы с другими столбцами; столбцы найдены по заголовкам</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>%1 more columns are not used</source>
        <translation>не используются ещё столбцы: %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>rows %1: %2</source>
        <translation>строки %1: %2</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>%1 more rows cannot be imported for other reasons</source>
        <translation>ещё строк, которые нельзя импортировать по другим причинам: %1</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>Nothing was written; --replace-unstorable writes them with &quot;?&quot;.</source>
        <translation>Ничего не записано; --replace-unstorable записывает их как «?».</translation>
    </message>
    <message>
        <location filename="../tools/zolk-cry/CommandImport.cpp" />
        <source>%1 rows were not written: their codes are in %2 with other answers (--overwrite replaces those files)</source>
        <translation>Не записано строк: %1 — их коды уже есть в %2 с другими ответами (--overwrite заменяет эти файлы)</translation>
    </message>
</context>
<context>
    <name>SurveyArchive</name>
    <message>
        <source>Survey archive (*.zolkdb);;All files (*)</source>
        <translation>Архив опросов (*.zolkdb);;Все файлы (*)</translation>
    </message>
    <message>
        <source>No archive file is named.</source>
        <translation>Не указан файл архива.</translation>
    </message>
    <message>
        <source>The archive %1 cannot be brought up to date and is left as it is: %2</source>
        <translation>Архив %1 не удаётся обновить до нынешнего формата; он оставлен как был: %2</translation>
    </message>
    <message>
        <source>The archive %1 does not exist.</source>
        <translation>Архива %1 нет.</translation>
    </message>
    <message>
        <source>%1 (archive %2): %3</source>
        <translation>%1 (архив %2): %3</translation>
    </message>
    <message>
        <source>The archive cannot be read</source>
        <translation>Архив не читается</translation>
    </message>
    <message>
        <source>a mean is not a number</source>
        <translation>среднее не является числом</translation>
    </message>
    <message>
        <source>A survey needs a client and a wave date.</source>
        <translation>Для опроса нужны клиент и дата волны.</translation>
    </message>
    <message>
        <source>The archive %1 already holds the survey of %2 of %3.</source>
        <translation>В архиве %1 уже есть опрос клиента %2 от %3.</translation>
    </message>
    <message>
        <source>The survey was not added</source>
        <translation>Опрос не добавлен</translation>
    </message>
    <message>
        <source>The surveys were not added</source>
        <translation>Опросы не добавлены</translation>
    </message>
    <message>
        <source>The survey was not removed</source>
        <translation>Опрос не удалён</translation>
    </message>
    <message>
        <source>The archive %1 holds no survey of %2 of %3.</source>
        <translation>В архиве %1 нет опроса клиента %2 от %3.</translation>
    </message>
    <message>
        <source>The norms cannot be read</source>
        <translation>Нормы не читаются</translation>
    </message>
    <message>
        <source>The trend cannot be read</source>
        <translation>Динамика не читается</translation>
    </message>
    <message>
        <source>The archive cannot be exported onto itself: choose another file.</source>
        <translation>Архив нельзя экспортировать в самого себя: выберите другой файл.</translation>
    </message>
    <message>
        <source>The archive cannot be exported: no temporary folder (%1).</source>
        <translation>Архив не экспортирован: нет временной папки (%1).</translation>
    </message>
    <message>
        <source>The archive was not exported</source>
        <translation>Архив не экспортирован</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 — не файл.</translation>
    </message>
    <message>
        <source>%1 is not a survey archive of this program: it is left as it is.</source>
        <translation>%1 — не архив опросов этой программы; файл оставлен как был.</translation>
    </message>
    <message>
        <source>The archive %1 cannot be made: %2</source>
        <translation>Не удаётся создать архив %1: %2</translation>
    </message>
    <message>
        <source>The archive %1 cannot be made: the file cannot be renamed.</source>
        <translation>Не удаётся создать архив %1: файл не переименовывается.</translation>
    </message>
    <message>
        <source>The archive %1 cannot be opened: %2</source>
        <translation>Не удаётся открыть архив %1: %2</translation>
    </message>
    <message>
        <source>The archive %1 cannot be read: %2</source>
        <translation>Архив %1 не читается: %2</translation>
    </message>
    <message>
        <source>The archive %1 is damaged and is left as it is: %2</source>
        <translation>Архив %1 повреждён; он оставлен как был: %2</translation>
    </message>
    <message>
        <source>The archive %1 was written by a newer version of the program (layout %2; this one reads up to %3): it is left as it is.</source>
        <translation>Архив %1 записан более новой версией программы (формат %2, эта версия читает до %3); он оставлен как был.</translation>
    </message>
    <message>
        <source>The folder %1 for the archive cannot be made.</source>
        <translation>Не удаётся создать папку %1 для архива.</translation>
    </message>
    <message>
        <source>The program's SQLite driver (Qt SQL, sqldrivers/qsqlite) is missing: the archive cannot be opened.</source>
        <translation>Нет драйвера SQLite программы (Qt SQL, sqldrivers/qsqlite): архив не открыть.</translation>
    </message>
</context>
<context>
    <name>SurveySummary</name>
    <message>
        <source>The archive keeps groups, not single respondents: open a folder as a group.</source>
        <translation>В архив попадают группы, а не отдельные анкеты: откройте папку как группу.</translation>
    </message>
    <message>
        <source>The group has %1 respondents: the archive keeps groups of at least %2, so that no one's answers can be told from its figures.</source>
        <translation>В группе %1 анкет: в архив попадают группы не менее чем из %2 анкет, чтобы по их цифрам нельзя было узнать ответы отдельного человека.</translation>
    </message>
</context>
<context>
    <name>ZolkCry</name>
    <message>
        <source>The archive file (the user's own unless given: %1).</source>
        <translation>Файл архива (если не задан — архив пользователя: %1).</translation>
    </message>
    <message>
        <source>The client (company) of the survey.</source>
        <translation>Клиент (компания) опроса.</translation>
    </message>
    <message>
        <source>%1 is not a folder: give one result file or folders of them.</source>
        <translation>%1 — не папка: укажите один файл результатов или папки с ними.</translation>
    </message>
    <message>
        <source>Adds a group's survey to the survey archive, lists or removes surveys.</source>
        <translation>Добавляет опрос группы в архив опросов, выводит список опросов или удаляет опрос.</translation>
    </message>
    <message>
        <source>The survey archive keeps past surveys as figures only, for norms and trends: for the whole
group and for each segment of each information line and sub-folder that has at least 5
members (as the segments table shows them), the number of respondents and the mean and
standard deviation of every index, trait, the overall mean and every statement. No code, name
or date of a respondent is kept; a group of fewer than 5 is not kept at all.

  archive add FOLDER... --client NAME --wave YYYY-MM-DD [--sector TEXT] [--replace]
      adds the group of the result files in FOLDER (all of them, for several folders); a survey
      of the same client and wave is replaced only with --replace.
  archive list [-o OUTPUT]
      writes client, wave, sector and n of every survey, in client and wave order, as CSV or,
      for an output named *.xlsx, as a workbook.
  archive remove --client NAME --wave YYYY-MM-DD
      removes that survey.

The archive is the user's own file unless --archive names another; it is made where it does
not exist yet. A file that is not an archive, or is damaged, is refused and left as it is.</source>
        <translation>Архив опросов хранит прошлые опросы только в виде сводных цифр для норм и динамики: для всей
группы и для каждого сегмента по каждой информационной строке и подпапке, в котором не менее 5
анкет (как их показывает таблица сегментов), — число анкет, среднее и стандартное отклонение
каждого индекса, черты, общего среднего и каждого утверждения. Ни кодов, ни имён, ни дат
респондентов не хранится; группа меньше 5 анкет не сохраняется вовсе.

  archive add ПАПКА... --client ИМЯ --wave ГГГГ-ММ-ДД [--sector ТЕКСТ] [--replace]
      добавляет группу файлов результатов из ПАПКИ (всех папок, если их несколько); опрос того
      же клиента и волны заменяется только с --replace.
  archive list [-o ВЫХОД]
      выводит клиента, волну, отрасль и n каждого опроса в порядке клиента и волны: CSV или,
      для выхода *.xlsx, книгу Excel.
  archive remove --client ИМЯ --wave ГГГГ-ММ-ДД
      удаляет этот опрос.

Архив — собственный файл пользователя, если --archive не указывает другой; если его ещё нет,
он создаётся. Файл, который не является архивом или повреждён, не принимается и остаётся как был.</translation>
    </message>
    <message>
        <source>The date of the survey's wave.</source>
        <translation>Дата волны опроса.</translation>
    </message>
    <message>
        <source>The client's sector (optional).</source>
        <translation>Отрасль клиента (необязательно).</translation>
    </message>
    <message>
        <source>Replaces a survey of the same client and wave.</source>
        <translation>Заменяет опрос того же клиента и волны.</translation>
    </message>
    <message>
        <source>archive takes add, list or remove, not '%1'</source>
        <translation>archive принимает add, list или remove, а не '%1'</translation>
    </message>
    <message>
        <source>option '-o' is for archive list only</source>
        <translation>параметр '-o' — только для archive list</translation>
    </message>
    <message>
        <source>option '--%1' is not for archive list</source>
        <translation>параметр '--%1' не для archive list</translation>
    </message>
    <message>
        <source>option '--client' is required</source>
        <translation>нужен параметр '--client'</translation>
    </message>
    <message>
        <source>option '--wave' is required</source>
        <translation>нужен параметр '--wave'</translation>
    </message>
    <message>
        <source>option '--wave' takes a date YYYY-MM-DD, not '%1'</source>
        <translation>параметр '--wave' принимает дату ГГГГ-ММ-ДД, а не '%1'</translation>
    </message>
    <message>
        <source>archive remove takes --client and --wave only</source>
        <translation>archive remove принимает только --client и --wave</translation>
    </message>
    <message>
        <source>%1 is not a folder: the archive keeps groups.</source>
        <translation>%1 — не папка: в архив попадают группы.</translation>
    </message>
    <message>
        <source>Give --replace to replace it.</source>
        <translation>Чтобы заменить его, укажите --replace.</translation>
    </message>
    <message>
        <source>Writes a profile's indices, traits and overall mean against the norms of the archive.</source>
        <translation>Выводит индексы, черты и общее среднее профиля в сравнении с нормами архива.</translation>
    </message>
    <message>
        <source>Reads the group of the result files in FOLDER (all of them, for several folders; or one result
file) and compares each index, trait and the overall mean with the archived surveys' means of it
(of one sector with --sector; the surveys of the client named with --client left out): one row
each with the name, the score, the number of surveys N of the norm, their mean and standard
deviation, the percentile rank = (surveys below + half the surveys equal) / N x 100 and the
sten = round(5.5 + 2z), z = (score - mean) / sd, within 1..10. With fewer than 5 surveys there
is no norm: the row says so. CSV, or a workbook for an output named *.xlsx.</source>
        <translation>Читает группу файлов результатов из ПАПКИ (всех папок, если их несколько; или один файл
результатов) и сравнивает каждый индекс, черту и общее среднее со средними опросов архива (одной
отрасли с --sector; без опросов клиента, указанного в --client): по строке на каждый — название,
балл, число опросов N в норме, их среднее и стандартное отклонение, процентиль = (опросов ниже +
половина равных) / N x 100 и стен = round(5,5 + 2z), z = (балл - среднее) / ст. откл., от 1 до 10.
Если опросов меньше 5, нормы нет, и строка говорит об этом. CSV или книга Excel для выхода *.xlsx.</translation>
    </message>
    <message>
        <source>Only the surveys of this sector.</source>
        <translation>Только опросы этой отрасли.</translation>
    </message>
    <message>
        <source>Leaves out the surveys of this client.</source>
        <translation>Не учитывает опросы этого клиента.</translation>
    </message>
    <message>
        <source>Writes a client's waves from the archive: the means of every index and trait per wave.</source>
        <translation>Выводит волны клиента из архива: средние каждого индекса и черты по волнам.</translation>
    </message>
    <message>
        <source>Writes one row per archived wave of the client, in date order: the wave, the number of
respondents, the 12 index means, the 4 trait means and the overall mean. CSV, or a workbook
for an output named *.xlsx.</source>
        <translation>Выводит по строке на каждую волну клиента из архива в порядке дат: волна, число анкет,
средние 12 индексов, 4 черт и общее среднее. CSV или книга Excel для выхода *.xlsx.</translation>
    </message>
    <message>
        <source>The archive holds no survey of %1.</source>
        <translation>В архиве нет опросов клиента %1.</translation>
    </message>
</context>
</TS>