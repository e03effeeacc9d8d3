#!/usr/bin/env python3
# Fills the Russian translations of zolk_ru.ts that are still unfinished from the table below.
# Run after `lupdate -no-obsolete core io export tools -ts translations/zolk_ru.ts` has added new texts;
# a text that is not in the table stays unfinished and lrelease leaves it in English.
import sys
import xml.etree.ElementTree as ET

RUSSIAN = {
    "The move failed.": "Перемещение не удалось.",
    "Not enough memory to write the result files.": "Недостаточно памяти для записи файлов результатов.",
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
    # zolk-cry
    "Missing value after '%1'.": "Не указано значение после '%1'.",
    "Unexpected value after '%1'.": "Лишнее значение после '%1'.",
    "Try 'zolk-cry help' for more information.": "Справка по командам: zolk-cry help",
    "OUTPUT": "ВЫХОД",
    "FILE": "ФАЙЛ",
    "FILE_OR_FOLDER": "ФАЙЛ_ИЛИ_ПАПКА",
    "FILE_OR_FOLDER...": "ФАЙЛ_ИЛИ_ПАПКА...",
    "COMMAND": "КОМАНДА",
    "Usage:": "Использование:",
    "Usage: %1": "Использование: %1",
    "Options:": "Параметры:",
    "Commands:": "Команды:",
    "Shows this help.": "Показывает эту справку.",
    "Shows the version of zolk-cry.": "Показывает версию zolk-cry.",
    "Describes a command and its options.": "Описывает команду и её параметры.",
    "Deciphers, enciphers and scores the result files (.cry) of the culture questionnaire.":
        "Расшифровывает, шифрует и оценивает файлы результатов (.cry) опросника организационной культуры.",
    "Exit status: 0 when the command did its work; 1 when it could not (the reason is on\n"
    "standard error); 2 when the command line is wrong.":
        "Код завершения: 0 — команда выполнена; 1 — выполнить её не удалось (причина — в потоке\n"
        "ошибок); 2 — командная строка неверна.",
    "Writes to OUTPUT instead of standard output (\"-\"). A file is replaced only once all of it is written; "
    "a device or a pipe is written to.":
        "Записывает в ВЫХОД вместо стандартного вывода (\"-\"). Файл заменяется, только когда он записан "
        "целиком; в устройство или канал запись идёт напрямую.",
    "unknown option '%1'": "неизвестный параметр '%1'",
    "option '%1' takes no value": "параметр '%1' не принимает значения",
    "option '%1' needs a value": "параметру '%1' нужно значение",
    "option '-o' needs a value": "параметру '-o' нужно значение",
    "option '-o' given more than once": "параметр '-o' указан больше одного раза",
    "missing argument %1": "не указан аргумент %1",
    "unexpected argument '%1'": "лишний аргумент '%1'",
    "unknown command '%1'": "неизвестная команда '%1'",
    "no command given": "не указана команда",
    "The output %1 is one of the inputs; it would be replaced by what is read from it.":
        "Выходной файл %1 — один из входных: он был бы заменён тем, что из него прочитано.",
    "The output %1 lies inside the input folder %2; the next run would read it as part of the group. "
    "Write it outside the folder.":
        "Выходной файл %1 лежит внутри входной папки %2: следующий запуск прочитал бы его как часть группы. "
        "Запишите его вне этой папки.",
    "result files read: %1 of %2": "прочитано файлов результатов: %1 из %2",
    "Writes the plaintext of a result file.": "Выводит открытый текст файла результатов.",
    "Deciphers the result file FILE (.cry) and writes its plaintext: to a terminal as text the\n"
    "terminal shows, to a file or a pipe byte for byte as the file holds it (windows-1251 with\n"
    "CR LF line ends). A file that does not read as a result file is refused.":
        "Расшифровывает файл результатов ФАЙЛ (.cry) и выводит его открытый текст: в терминал — так,\n"
        "чтобы терминал его показал, в файл или канал — байт в байт, как он хранится в файле (windows-1251,\n"
        "строки оканчиваются CR LF). Файл, который не читается как файл результатов, отклоняется.",
    "Writes the plaintext in UTF-8 also to a file or a pipe.": "Выводит открытый текст в UTF-8 и в файл или канал.",
    "Enciphers a plaintext into the letters of a result file.": "Шифрует открытый текст в знаки файла результатов.",
    "Reads a plaintext from FILE, or from standard input where FILE is \"-\" or not given, in\n"
    "UTF-8 (windows-1251 bytes with --raw), and writes the enciphered letters of a result file.":
        "Читает открытый текст из ФАЙЛА (из стандартного ввода, если ФАЙЛ равен \"-\" или не указан)\n"
        "в UTF-8 (с --raw — байты windows-1251) и выводит зашифрованные знаки файла результатов.",
    "Reads the plaintext as windows-1251 bytes, unchanged.": "Читает открытый текст как байты windows-1251, без преобразования.",
    "Cannot read standard input.": "Не удалось прочитать стандартный ввод.",
    "The text holds more than %1 bytes; a result file holds at most %2.":
        "Текст длиннее %1 байт; файл результатов вмещает не больше %2.",
    "The text holds %1 bytes; a result file holds at most %2.":
        "Текст занимает %1 байт; файл результатов вмещает не больше %2.",
    "The text is not UTF-8; windows-1251 bytes are read with --raw.":
        "Текст не в UTF-8; байты windows-1251 читаются с параметром --raw.",
    "The text holds characters that windows-1251 cannot hold.": "В тексте есть символы, которых нет в windows-1251.",
    "The text holds a zero byte, which would end the plaintext.":
        "В тексте есть нулевой байт, на котором открытый текст оборвался бы.",
    "Writes the scores of result files and folders as a table for a spreadsheet.":
        "Выводит оценки из файлов результатов и папок таблицей для табличного редактора.",
    "Writes the scores of result files as a table: one row per file; a folder gives one row per\n"
    "result file in it and a row with the group's mean. The first column names each file relative\n"
    "to the folder that holds all the inputs. The table is CSV in UTF-8 that a spreadsheet opens\n"
    "under the user's locale: \";\" between fields and the decimal comma where the locale writes\n"
    "numbers with a comma, \",\" and \".\" otherwise. An output named *.xlsx is an Excel workbook\n"
    "instead, in which codes, names and dates are text and every score a number.\n"
    "A file that cannot be read ends the command and nothing is written; with --skip-bad it is left\n"
    "out and named on standard error with the reason. The output may not lie inside an input folder.":
        "Выводит оценки из файлов результатов таблицей: по строке на файл; папка даёт по строке на каждый\n"
        "файл результатов в ней и строку со средним по группе. Первый столбец называет файл относительно\n"
        "папки, в которой лежат все входы. Таблица — CSV в UTF-8, которую табличный редактор открывает по\n"
        "региональным настройкам пользователя: \";\" между полями и десятичная запятая, где числа пишутся\n"
        "с запятой, иначе \",\" и \".\". Выходной файл с именем *.xlsx — книга Excel, в которой коды, имена\n"
        "и даты — текст, а каждая оценка — число.\n"
        "Файл, который не удаётся прочитать, прерывает команду, и ничего не записывается; с --skip-bad он\n"
        "пропускается и называется с причиной в потоке ошибок. Выходной файл не может лежать внутри входной папки.",
    "Leaves out the files that cannot be read; fails only when none can.":
        "Пропускает файлы, которые не удаётся прочитать; ошибка — только если не читается ни один.",
    "skipped: %1": "пропущен: %1",
    "No input could be read: %1": "Не удалось прочитать ни одного из указанных файлов и папок: %1",
    "FOLDER": "ПАПКА",
    "FOLDER...": "ПАПКА...",
    "Writes the scores of a group's segments (departments) as a table for a spreadsheet.":
        "Выводит оценки сегментов (подразделений) группы таблицей для табличного редактора.",
    "Splits the group of the result files in FOLDER (all of them, for several folders) by one of the\n"
    "members' four information lines, or by sub-folder, and writes a table: the whole group first,\n"
    "then one row per segment in name order, each with its number of members, the twelve index\n"
    "scores, the four trait scores and the overall mean, computed as the window computes a group's.\n"
    "A segment with fewer than N members (--min, 5 unless given, never below 3) shows its name and no\n"
    "scores; its members count in the whole group. Where a single segment is that small, the smallest\n"
    "other one shows its size but no scores either: else they would give away the hidden ones.\n"
    "A folder whose sub-folders hold the result files\n"
    "is split by sub-folder with --by folder; of several folders, each is named relative to the\n"
    "folder that holds them all. The table is CSV for the user's locale, or an Excel workbook for an\n"
    "output named *.xlsx. A file that cannot be read ends the command and nothing is written; with\n"
    "--skip-bad it is left out and named on standard error.":
        "Делит группу файлов результатов из ПАПКИ (из всех папок, если их несколько) по одной из четырёх\n"
        "информационных строк участников или по подпапкам и выводит таблицу: сначала вся группа, затем по\n"
        "строке на сегмент в порядке названий — число участников, двенадцать оценок индексов, четыре\n"
        "оценки черт и общее среднее, вычисленные так же, как окно вычисляет их для группы.\n"
        "Сегмент, в котором меньше N участников (--min, по умолчанию 5, не меньше 3), показывает только\n"
        "название, без оценок; его участники входят во всю группу. Если такой сегмент один, наименьший из\n"
        "остальных показывает только число участников, без оценок: иначе по ним вычислялись бы скрытые.\n"
        "Папку, файлы результатов которой лежат\n"
        "в подпапках, делит по подпапкам --by folder; из нескольких папок каждая называется относительно\n"
        "папки, в которой лежат все они. Таблица — CSV по региональным настройкам пользователя или книга\n"
        "Excel, если выходной файл назван *.xlsx. Файл, который не удаётся прочитать, прерывает команду,\n"
        "и ничего не записывается; с --skip-bad он пропускается и называется в потоке ошибок.",
    "Splits by information line 1 to 4, or by sub-folder.": "Делит по информационной строке 1–4 или по подпапкам.",
    "Shows no scores of a segment with fewer than N members (5 unless given, at least 3).":
        "Не показывает оценок сегмента, в котором меньше N участников (по умолчанию 5, не меньше 3).",
    "option '--by' is required": "параметр '--by' обязателен",
    "option '--by' takes info1, info2, info3, info4 or folder, not '%1'":
        "параметр '--by' принимает info1, info2, info3, info4 или folder, а не '%1'",
    "option '--min' needs a whole number of at least %1": "параметру '--min' нужно целое число не меньше %1",
    "%1 is not a folder: segments are of the group of a folder.": "%1 — не папка: сегменты бывают только у группы из папки.",
    "Writes the spread of a group's answers as a table for a spreadsheet.":
        "Выводит разброс ответов группы таблицей для табличного редактора.",
    "Writes a table of the group of the result files in FOLDER (all of them, for several folders):\n"
    "one row per index, trait and statement with the number of answers, the mean, the standard\n"
    "deviation (of a sample, n - 1), the minimum and the maximum, and for each statement how many\n"
    "members answered 1, 2, 3, 4 and 5 (each score rounded to the nearest whole answer). The table\n"
    "is CSV for the user's locale, or an Excel workbook for an output named *.xlsx. A file that\n"
    "cannot be read ends the command and nothing is written; with --skip-bad it is left out and\n"
    "named on standard error.":
        "Выводит таблицу по группе файлов результатов из ПАПКИ (из всех папок, если их несколько): по\n"
        "строке на индекс, черту и утверждение — число ответов, среднее, стандартное отклонение (по\n"
        "выборке, n - 1), минимум и максимум, а для каждого утверждения — сколько участников ответили 1,\n"
        "2, 3, 4 и 5 (каждая оценка округляется до ближайшего целого ответа). Таблица — CSV по\n"
        "региональным настройкам пользователя или книга Excel, если выходной файл назван *.xlsx. Файл,\n"
        "который не удаётся прочитать, прерывает команду, и ничего не записывается; с --skip-bad он\n"
        "пропускается и называется в потоке ошибок.",
    "%1 is not a folder: the spread is of the group of a folder.": "%1 — не папка: разброс бывает только у группы из папки.",
    "no answer to statement %1":
        "нет ответа на утверждение %1",
    "the answer to statement %1 is not on the scale 1 to 5: %2":
        "ответ на утверждение %1 вне шкалы от 1 до 5: %2",
    "the answer to statement %1 cannot be read: %2":
        "ответ на утверждение %1 не читается: %2",
    "the code %1 is in more than one row (rows %2)":
        "код %1 есть в нескольких строках (строки %2)",
    "the text of \"%1\" is longer than %2 characters":
        "текст в поле «%1» длиннее %2 знаков",
    "no code":
        "нет кода",
    "no answer to statements %1":
        "нет ответов на утверждения %1",
    "The sheet %1 cannot be read.":
        "Таблицу %1 не удалось прочитать.",
    "The sheet %1 is empty.":
        "Таблица %1 пуста.",
    "It is not a regular file.":
        "Это не обычный файл.",
    "It is larger than %1 MB.":
        "Он больше %1 МБ.",
    "No column holds the answers to statements %1.":
        "Ни в одном столбце нет ответов на утверждения %1.",
    "Column %1 is chosen for both \"%2\" and \"%3\".":
        "Столбец %1 выбран и для «%2», и для «%3».",
    "The column map %1 cannot be read.":
        "Файл столбцов %1 не удалось прочитать.",
    "Line %1: %2":
        "Строка %1: %2",
    "it is not \"key = column\".":
        "это не «ключ = столбец».",
    "unknown key %1.":
        "неизвестный ключ %1.",
    "the key %1 is named twice.":
        "ключ %1 указан дважды.",
    "%1 is not a column number.":
        "%1 — не номер столбца.",
    "%1: the sheet has no column %2.":
        "%1: в таблице нет столбца %2.",
    "Row %1 opens a quoted field that never ends.":
        "В строке %1 начинается поле в кавычках, которое нигде не заканчивается.",
    "A file of that name exists.":
        "Файл с таким именем уже есть.",
    "Cannot make the folder %1: a file has that name.":
        "Не удалось создать папку %1: так называется файл.",
    "Cannot make the folder %1.":
        "Не удалось создать папку %1.",
    "The sheet has fewer rows than were checked.":
        "В таблице меньше строк, чем было проверено.",
    "Row %1 of the sheet is not as it was checked.":
        "Строка %1 таблицы не такая, какой была при проверке.",
    "%1 replaced files could not be put back; they are in the folder %2 (named old-N).":
        "Заменённые файлы (%1) не удалось вернуть на место; они лежат в папке %2 (под именами old-N).",
    "FILE.csv":
        "ФАЙЛ.csv",
    "Writes the rows of an answer sheet (CSV) as result files, one per respondent.":
        "Записывает строки таблицы ответов (CSV) как файлы результатов, по файлу на участника.",
    "Reads an answer sheet as online forms and spreadsheets export it (UTF-8 with or without a\nbyte-order mark, or windows-1251; \",\", \";\" or tabs between fields; quoted fields may hold line\nbreaks), one respondent per row, and writes each row as a result file into FOLDER, named from\nits code (\"0042.cry\"). Answers are 1 to 5 or the answer words (\"полностью не согласен\" ...\n\"полностью согласен\"); statements worded negatively are scored in reverse, and each index score\nis the mean of its five statements. The columns are found by their header words (the header\nthat \"zolk-cry questionnaire --template\" writes, numbered statements, form timestamps), or by\nthe column map: --map MAPFILE, else the map saved in FOLDER by an earlier import. The map used\nis saved in FOLDER as zolk-import-map.txt, a line \"key = column\" per field (keys date, code,\nname, info1..info4, s1..s60; a column is its header text or #N, the N-th column).\nA row with a missing or unreadable answer, an answer beyond 1 to 5, no code or a code that\nanother row holds too is never written; every such row is named on standard error with the\nreason, and then nothing is written at all unless --skip-bad is given, which writes the good\nrows. A file of the same name already in FOLDER is kept and the new one numbered (\"0042 (2).cry\")\nunless --overwrite is given. The import is whole or nothing: a failure leaves FOLDER as it was.":
        "Читает таблицу ответов в том виде, в каком её выгружают онлайн-формы и электронные таблицы (UTF-8\nс меткой порядка байтов или без неё либо windows-1251; между полями «,», «;» или табуляция; поля в\nкавычках могут содержать переводы строк), по участнику на строку, и записывает каждую строку как\nфайл результатов в ПАПКУ под именем по коду («0042.cry»). Ответы — числа от 1 до 5 или слова ответа\n(«полностью не согласен» ... «полностью согласен»); утверждения с отрицательной формулировкой\nоцениваются обратно, а оценка индекса — среднее пяти его утверждений. Столбцы находятся по словам\nзаголовка (заголовок, который пишет «zolk-cry questionnaire --template», номера утверждений,\nотметки времени форм) или по файлу столбцов: --map ФАЙЛ_СТОЛБЦОВ, иначе по файлу, сохранённому в\nПАПКЕ прежним импортом. Использованный файл столбцов сохраняется в ПАПКЕ как zolk-import-map.txt:\nстрока «ключ = столбец» на поле (ключи date, code, name, info1..info4, s1..s60; столбец — текст его\nзаголовка или #N, N-й столбец).\nСтрока с пропущенным или нечитаемым ответом, ответом вне шкалы 1–5, без кода или с кодом, который\nесть и в другой строке, не записывается никогда; каждая такая строка называется в потоке ошибок с\nпричиной, и тогда не записывается ничего, если не указан --skip-bad (он записывает годные строки).\nФайл с тем же именем, уже лежащий в ПАПКЕ, сохраняется, а новый получает номер («0042 (2).cry»),\nесли не указан --overwrite. Импорт выполняется целиком или никак: при сбое ПАПКА остаётся прежней.",
    "The folder for the result files (made where missing).":
        "Папка для файлов результатов (создаётся, если её нет).",
    "Takes the columns from MAPFILE.":
        "Берёт столбцы из ФАЙЛА_СТОЛБЦОВ.",
    "MAPFILE":
        "ФАЙЛ_СТОЛБЦОВ",
    "Writes the good rows when some rows cannot be imported.":
        "Записывает годные строки, даже если часть строк импортировать нельзя.",
    "Replaces files of the same name in FOLDER.":
        "Заменяет файлы с теми же именами в ПАПКЕ.",
    "cannot open the column map %1: %2":
        "не удалось открыть файл столбцов %1: %2",
    "the column map %1 does not fit the sheet:":
        "файл столбцов %1 не подходит к таблице:",
    "missing option -o FOLDER":
        "не указан параметр -o ПАПКА",
    "Name the columns with --map MAPFILE.":
        "Укажите столбцы через --map ФАЙЛ_СТОЛБЦОВ.",
    "row %1: %2":
        "строка %1: %2",
    "%1 of %2 rows cannot be imported; nothing was written (--skip-bad writes the others).":
        "Строк, которые нельзя импортировать: %1 из %2; ничего не записано (с --skip-bad записываются остальные).",
    "The sheet has no row to import.":
        "В таблице нет строк для импорта.",
    "%1 result files written to %2 (%3 replaced).":
        "Записано файлов результатов: %1 в %2 (заменено: %3).",
    "Writes the blank questionnaire as a PDF, and the answer sheet's template.":
        "Записывает чистую анкету в PDF и шаблон таблицы ответов.",
    "Writes the blank questionnaire for the respondents as an A4 PDF: the instruction, the header\nfields (date, code, name and the four information lines) and the sixty statements with five\nboxes each. The captions of the information lines are those set in the window (\"Импорт\" ->\n\"Анкета\"), else \"Подразделение\", \"Должность\", \"Стаж работы в компании\", \"Возраст\".\nWith --template, also the header row of the matching answer sheet as CSV for an online form\nor a spreadsheet (UTF-8 with a byte-order mark, \";\" where the locale writes a decimal comma);\n\"zolk-cry import\" finds every column of a sheet with this header by itself.":
        "Записывает чистую анкету для участников опроса в PDF формата A4: инструкцию, поля заголовка (дата,\nкод, ФИО и четыре строки сведений) и шестьдесят утверждений с пятью клетками у каждого. Подписи\nстрок сведений — те, что заданы в окне программы («Импорт» -> «Анкета»), иначе «Подразделение»,\n«Должность», «Стаж работы в компании», «Возраст».\nС --template записывается и строка заголовков подходящей таблицы ответов в CSV для онлайн-формы\nили электронной таблицы (UTF-8 с меткой порядка байтов, «;» там, где региональные настройки пишут\nдесятичную запятую); «zolk-cry import» сам находит все столбцы таблицы с таким заголовком.",
    "Writes the answer sheet's header row to FILE.csv.":
        "Записывает строку заголовков таблицы ответов в ФАЙЛ.csv.",
    "option '--template' needs a value":
        "параметру '--template' нужно значение",
    "a PDF is not for a terminal: name the file with -o FILE.pdf":
        "PDF не выводится в терминал: укажите файл через -o ФАЙЛ.pdf",
    "the questionnaire and the template cannot be the same file":
        "анкета и шаблон не могут быть одним и тем же файлом",
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
