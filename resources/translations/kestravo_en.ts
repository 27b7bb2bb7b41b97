<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>CncErrorText</name>
    <message>
        <source>Ошибка следования по оси </source>
        <translation>Following error on axis </translation>
    </message>
    <message>
        <source>Достигнут нижний предел перемещения по оси </source>
        <translation>Lower travel limit reached on axis </translation>
    </message>
    <message>
        <source>Достигнут верхний предел перемещения по оси </source>
        <translation>Upper travel limit reached on axis </translation>
    </message>
</context>
<context>
    <name>CncStartControl</name>
    <message>
        <source>Запуск LinuxCNC...</source>
        <translation>Starting LinuxCNC...</translation>
    </message>
</context>
<context>
    <name>ErrorWindow</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>GCodeInterpreter</name>
    <message>
        <source>Датчик безопасной высоты не сработал! Аварийное отключение!</source>
        <translation>The safe-height sensor did not respond! Emergency stop!</translation>
    </message>
    <message>
        <source>Безопасная высота оси Z не задана (HOME в ini-файле равен 0): строка &quot;%1&quot; не выполнена!</source>
        <translation>No safe height is set for the Z axis (HOME is 0 in the ini file): line &quot;%1&quot; was not executed!</translation>
    </message>
    <message>
        <source>Недопустимая подача в строке &quot;%1&quot;!</source>
        <translation>Invalid feed in line &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>Перемещение, заданное командой</source>
        <translation>The move given by the command</translation>
    </message>
    <message>
        <source>выходит за допустимый диапазон!</source>
        <translation>is outside the allowed range!</translation>
    </message>
</context>
<context>
    <name>IniCheck</name>
    <message>
        <source>%1 в разделе %2 указан неправильно!</source>
        <translation>%1 in section %2 is invalid!</translation>
    </message>
    <message>
        <source>Ini-файл конфигурации машины, указанный в настройках, не найден!</source>
        <translation>The machine configuration ini file named in the settings was not found!</translation>
    </message>
    <message>
        <source>Для успешного запуска в ini-файле конфигурации машины параметр DISPLAY секции DISPLAY должен быть равен linuxcncrsh  --path /</source>
        <translation>To start, the DISPLAY parameter of the DISPLAY section of the machine configuration ini file must be linuxcncrsh  --path /</translation>
    </message>
</context>
<context>
    <name>MachineStatePanel</name>
    <message>
        <source>LinuxCNC запущен</source>
        <translation>LinuxCNC running</translation>
    </message>
    <message>
        <source>Запуск LinuxCNC...</source>
        <translation>Starting LinuxCNC...</translation>
    </message>
    <message>
        <source>LinuxCNC остановлен</source>
        <translation>LinuxCNC stopped</translation>
    </message>
    <message>
        <source>Машина включена</source>
        <translation>Machine on</translation>
    </message>
    <message>
        <source>Машина выключена</source>
        <translation>Machine off</translation>
    </message>
    <message>
        <source>Оси в исходной</source>
        <translation>Axes homed</translation>
    </message>
    <message>
        <source>Оси не в исходной</source>
        <translation>Axes not homed</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Машина</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>Запустить LinuxCNC</source>
        <translation>Start LinuxCNC</translation>
    </message>
    <message>
        <source>Остановить LinuxCNC</source>
        <translation>Stop LinuxCNC</translation>
    </message>
    <message>
        <source>Включить машину</source>
        <translation>Turn machine on</translation>
    </message>
    <message>
        <source>Выключить машину</source>
        <translation>Turn machine off</translation>
    </message>
    <message>
        <source>Аварийный стоп</source>
        <translation>Emergency stop</translation>
    </message>
    <message>
        <source>Окна</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Закрыть все окна</source>
        <translation>Close all windows</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>NozzleOnHeadWarning</name>
    <message>
        <source>Насадка на головке</source>
        <translation>Nozzle on head</translation>
    </message>
    <message>
        <source>На головке осталась насадка. Верните её в держатель перед выключением или закройте программу всё равно.</source>
        <translation>A nozzle is still on the head. Return it to its holder before shutting down, or close the program anyway.</translation>
    </message>
    <message>
        <source>Закрыть программу</source>
        <translation>Close program</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Worker</name>
    <message>
        <source>Права пользователя для приложения заданы неправильно!</source>
        <translation>User permissions for the application are set incorrectly!</translation>
    </message>
    <message>
        <source>Не удалось записать файл настроек: %1</source>
        <translation>Failed to write settings file: %1</translation>
    </message>
    <message>
        <source>Ошибка при сохранении настроек в ini-файл</source>
        <translation>Error while saving the settings to the ini file</translation>
    </message>
</context>
<context>
    <name>WorkerCnc</name>
    <message>
        <source>Ini-файл конфигурации машины, указанный в настройках, не найден!</source>
        <translation>The machine configuration ini file named in the settings was not found!</translation>
    </message>
    <message>
        <source>Hal-файл конфигурации машины не найден!</source>
        <translation>The machine configuration HAL file was not found!</translation>
    </message>
    <message>
        <source>Не удалось открыть Hal-файл конфигурации машины!</source>
        <translation>Could not open the machine configuration HAL file!</translation>
    </message>
    <message>
        <source>Для успешного запуска в ini-файле конфигурации машины параметр DISPLAY секции DISPLAY должен быть равен linuxcncrsh  --path /</source>
        <translation>To start, the DISPLAY parameter of the DISPLAY section of the machine configuration ini file must be linuxcncrsh  --path /</translation>
    </message>
    <message>
        <source>Не удалось установить связь с LinuxCNC!</source>
        <translation>Could not connect to LinuxCNC!</translation>
    </message>
    <message>
        <source>Связь с LinuxCNC установлена, но команда HELLO не выполнена!</source>
        <translation>Connected to LinuxCNC, but the HELLO command failed!</translation>
    </message>
    <message>
        <source>Связь с LinuxCNC прервана!</source>
        <translation>The connection to LinuxCNC was lost!</translation>
    </message>
    <message>
        <source>Сигнал E-STOP активен! Отключите E-STOP и попробуйте снова.</source>
        <translation>The E-STOP signal is active! Release E-STOP and try again.</translation>
    </message>
    <message>
        <source>Сработал сигнал E-STOP!</source>
        <translation>E-STOP triggered!</translation>
    </message>
    <message>
        <source>Автопоиск не удался! Превышено время ожидания датчика разрежения!</source>
        <translation>Auto-search failed! The vacuum sensor did not answer in time!</translation>
    </message>
    <message>
        <source>Не удалось установить связь по NML!</source>
        <translation>Could not connect over NML!</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Kestravo — установщик компонентов</source>
        <translation>Kestravo — component placer</translation>
    </message>
    <message>
        <source>Окно недоступно: </source>
        <translation>Window not available: </translation>
    </message>
    <message>
        <source>Файл проекта не найден: </source>
        <translation>Project file not found: </translation>
    </message>
    <message>
        <source>Есть несохранённые изменения проекта или банков питателей.</source>
        <translation>There are unsaved changes to the project or feeder banks.</translation>
    </message>
    <message>
        <source>Ошибка: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>LinuxCNC запущен</source>
        <translation>LinuxCNC running</translation>
    </message>
    <message>
        <source>LinuxCNC остановлен</source>
        <translation>LinuxCNC stopped</translation>
    </message>
    <message>
        <source>Не удалось запустить LinuxCNC</source>
        <translation>Failed to start LinuxCNC</translation>
    </message>
    <message>
        <source>Ошибка LinuxCNC: </source>
        <translation>LinuxCNC error: </translation>
    </message>
    <message>
        <source>Невозможно запустить второй экземпляр программы!</source>
        <translation>Cannot start a second instance of the program!</translation>
    </message>
    <message>
        <source>Программа запущена</source>
        <translation>Program started</translation>
    </message>
</context>
</TS>
