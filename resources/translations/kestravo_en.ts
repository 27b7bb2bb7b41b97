<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>AddNewElement</name>
    <message>
        <source>Добавить компонент</source>
        <translation>Add a component</translation>
    </message>
    <message>
        <source>Координаты X и Y должны быть числами</source>
        <translation>X and Y must be numbers</translation>
    </message>
    <message>
        <source>Точка лежит вне рабочей области станка</source>
        <translation>The point lies outside the machine&apos;s work area</translation>
    </message>
    <message>
        <source>Не выбран питатель</source>
        <translation>No feeder chosen</translation>
    </message>
    <message>
        <source>Выбранный питатель — дозатор, компонент из него не добавить</source>
        <translation>The chosen feeder is a dispenser: no component can be added from it</translation>
    </message>
    <message>
        <source>В питателе не задан корпус компонента</source>
        <translation>The feeder has no component package set</translation>
    </message>
    <message>
        <source>Поворот должен быть числом</source>
        <translation>The rotation must be a number</translation>
    </message>
    <message>
        <source>Компонент не добавлен, причина в списке ошибок</source>
        <translation>The component was not added; the reason is in the error list</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Нет включенных банков с питателями</source>
        <translation>No enabled feeder bank holds feeders</translation>
    </message>
    <message>
        <source>Питатель не настроен</source>
        <translation>The feeder is not set up</translation>
    </message>
    <message>
        <source>Корпус</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>Номинал</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Обозначение</source>
        <translation>Designator</translation>
    </message>
    <message>
        <source>Поворот, °</source>
        <translation>Rotation, °</translation>
    </message>
    <message>
        <source>мм</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>AoiInterface</name>
    <message>
        <source>Оптическая инспекция</source>
        <translation>Optical inspection</translation>
    </message>
    <message>
        <source>Поиск реперных знаков недоступен в этой версии программы</source>
        <translation>The reference mark search is not available in this version of the program</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Создать</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>шаблоны</source>
        <translation>templates</translation>
    </message>
    <message>
        <source>Провести</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>инспекцию</source>
        <translation>inspection</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>результаты</source>
        <translation>results</translation>
    </message>
    <message>
        <source>Разрешить инспекцию этого</source>
        <translation>Allow inspection of this</translation>
    </message>
    <message>
        <source>проекта после расстановки</source>
        <translation>project after placement</translation>
    </message>
    <message>
        <source>Порог инспекции:</source>
        <translation>Inspection threshold:</translation>
    </message>
    <message>
        <source>Размытие деталей:</source>
        <translation>Detail erosion:</translation>
    </message>
    <message>
        <source>Допустимая погрешность:</source>
        <translation>Permitted difference:</translation>
    </message>
    <message>
        <source>Видимость результата инспекции:</source>
        <translation>Visibility of the inspection result:</translation>
    </message>
    <message>
        <source>Видимость красных зон:</source>
        <translation>Visibility of the red areas:</translation>
    </message>
    <message>
        <source>Задержка сканирования, мс:</source>
        <translation>Scanning delay, ms:</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Компонент</source>
        <translation>Component</translation>
    </message>
    <message>
        <source>Координаты</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>Автомасштаб</source>
        <translation>Auto scale</translation>
    </message>
    <message>
        <source>Поиск реперных знаков...</source>
        <translation>Searching the reference marks...</translation>
    </message>
</context>
<context>
    <name>BoardArea</name>
    <message>
        <source>Проект не может содержать более 50-и реперных знаков.</source>
        <translation>A project cannot hold more than 50 reference marks.</translation>
    </message>
    <message>
        <source>ошибка при загрузке компонента из питателя </source>
        <translation>error loading a component from the feeder </translation>
    </message>
    <message>
        <source>Неверные координаты перемещения камеры: перемещение не выполнено</source>
        <translation>Invalid camera move coordinates: the move was not made</translation>
    </message>
    <message>
        <source>Подвести камеру к точке</source>
        <translation>Move the camera to this point</translation>
    </message>
    <message>
        <source>Реперный знак в точке X: %1 Y: %2 совпадает с реперным знаком %3 и не добавлен</source>
        <translation>The reference mark at X: %1 Y: %2 lies on reference mark %3 and was not added</translation>
    </message>
</context>
<context>
    <name>BoardMoveDialog</name>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>BoardScan</name>
    <message>
        <source>Неверные размеры сканирования платы</source>
        <translation>Invalid board scan dimensions</translation>
    </message>
    <message>
        <source>Плата слишком велика для сканирования</source>
        <translation>The board is too large to scan</translation>
    </message>
    <message>
        <source>Недостаточно памяти для сканирования платы</source>
        <translation>Not enough memory to scan the board</translation>
    </message>
    <message>
        <source>Сканирование платы не начато</source>
        <translation>The board scan has not been started</translation>
    </message>
    <message>
        <source>Нет изображения с камеры для сканирования</source>
        <translation>No camera image for the scan</translation>
    </message>
    <message>
        <source>Не задано имя файла</source>
        <translation>No file name given</translation>
    </message>
    <message>
        <source>Не удалось записать файл: </source>
        <translation>Could not write the file: </translation>
    </message>
</context>
<context>
    <name>Camera1Window</name>
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
</context>
<context>
    <name>Camera2Window</name>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Третья камера</source>
        <translation>Third camera</translation>
    </message>
</context>
<context>
    <name>CameraAutoCalibration</name>
    <message>
        <source>Автоматическая калибровка положения камер</source>
        <translation>Automatic calibration of the camera positions</translation>
    </message>
    <message>
        <source>Положите калибровочный объект на платформу, укажите его координаты и высоту, выберите насадку и нажмите &quot;Начать&quot;. Объект будет найден верхней камерой, взят насадкой, осмотрен нижней камерой при четырёх поворотах и положен обратно.</source>
        <translation>Put the calibration object on the platform, enter its coordinates and height, choose the nozzle and press &quot;Start&quot;. The head camera finds the object, the nozzle picks it, the component camera looks at it at four rotations, and it is put back.</translation>
    </message>
    <message>
        <source>Насадки</source>
        <translation>From nozzle</translation>
    </message>
    <message>
        <source>Толщина объекта, мм:</source>
        <translation>Object thickness, mm:</translation>
    </message>
    <message>
        <source>Объект:</source>
        <translation>Object:</translation>
    </message>
    <message>
        <source>Микросхема</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>Диск</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>Насадка:</source>
        <translation>Nozzle:</translation>
    </message>
    <message>
        <source>Порог верхней камеры:</source>
        <translation>Head camera threshold:</translation>
    </message>
    <message>
        <source>Порог нижней камеры:</source>
        <translation>Component camera threshold:</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Восстановить старые параметры</source>
        <translation>Restore the old parameters</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>До калибровки: </source>
        <translation>Before calibration: </translation>
    </message>
    <message>
        <source>После калибровки: </source>
        <translation>After calibration: </translation>
    </message>
    <message>
        <source>Калибровка завершена! Новые параметры применены!</source>
        <translation>Calibration finished! The new parameters are applied!</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CameraCapture</name>
    <message>
        <source>Не удалось захватить изображение с камеры!</source>
        <translation>Could not capture an image from the camera!</translation>
    </message>
</context>
<context>
    <name>CameraSettings</name>
    <message>
        <source>Настройки камер</source>
        <translation>Camera settings</translation>
    </message>
    <message>
        <source>Устройство</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Режим</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Экспозиция</source>
        <translation>Exposure</translation>
    </message>
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
    <message>
        <source>Выбрать...</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Третья камера</source>
        <translation>Third camera</translation>
    </message>
    <message>
        <source>Сжатие MJPEG (со следующего открытия камеры)</source>
        <translation>MJPEG compression (from the next camera opening)</translation>
    </message>
    <message>
        <source>Высокое разрешение 1280x960 (после перезапуска программы)</source>
        <translation>High resolution 1280x960 (after restarting the program)</translation>
    </message>
    <message>
        <source>Имя, не начинающееся с /dev/, выбирает симулированную камеру: sim:board, sim:component, путь к картинке или к папке с картинками.</source>
        <translation>A name that does not start with /dev/ selects a simulated camera: sim:board, sim:component, the path of a picture or of a folder of pictures.</translation>
    </message>
    <message>
        <source>Обновить список камер</source>
        <translation>Refresh the camera list</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Оптика камеры на голове</source>
        <translation>Head camera lens</translation>
    </message>
    <message>
        <source>Оптика камеры корректировки</source>
        <translation>Component camera lens</translation>
    </message>
</context>
<context>
    <name>CameraView</name>
    <message>
        <source>Камера не выбрана.
Выберите её в настройках камер.</source>
        <translation>No camera selected.
Choose one in the camera settings.</translation>
    </message>
    <message>
        <source>Нет изображения с камеры
</source>
        <translation>No image from the camera
</translation>
    </message>
    <message>
        <source>Слишком много контуров!
 Измените настройки распознавания!</source>
        <translation>Too many contours!
 Change the recognition settings!</translation>
    </message>
    <message>
        <source>нет камеры</source>
        <translation>no camera</translation>
    </message>
    <message>
        <source>Увеличение</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Кадр</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Обработка</source>
        <translation>Processed</translation>
    </message>
    <message>
        <source>Контуры</source>
        <translation>Contours</translation>
    </message>
    <message>
        <source>Перекрестие</source>
        <translation>Cross</translation>
    </message>
    <message>
        <source>Снимок</source>
        <translation>Photo</translation>
    </message>
</context>
<context>
    <name>CameraWorker</name>
    <message>
        <source>Калибровка провалена!</source>
        <translation>Calibration failed!</translation>
    </message>
</context>
<context>
    <name>CheckInterface</name>
    <message>
        <source>Визуальная проверка расстановки/программы</source>
        <translation>Visual check of the placement/program</translation>
    </message>
    <message>
        <source>Тест остановлен</source>
        <translation>Test stopped</translation>
    </message>
    <message>
        <source>Проверьте расстановку реперных знаков!</source>
        <translation>Check the reference marks!</translation>
    </message>
    <message>
        <source>Все платы исключены из расстановки!</source>
        <translation>All boards are excluded from placement!</translation>
    </message>
    <message>
        <source>Поиск реперных знаков недоступен в этой версии программы</source>
        <translation>The reference mark search is not available in this version of the program</translation>
    </message>
    <message>
        <source>Неверные координаты перемещения камеры: перемещение не выполнено</source>
        <translation>Invalid camera move coordinates: the move was not made</translation>
    </message>
    <message>
        <source>В проекте нет компонентов</source>
        <translation>The project has no components</translation>
    </message>
    <message>
        <source>Тест начат</source>
        <translation>Test started</translation>
    </message>
    <message>
        <source>комп. </source>
        <translation>comp. </translation>
    </message>
    <message>
        <source> не найден!</source>
        <translation> not found!</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Составить таблицу</source>
        <translation>Make the table</translation>
    </message>
    <message>
        <source>Начать проверку</source>
        <translation>Start the check</translation>
    </message>
    <message>
        <source>Стоп показа</source>
        <translation>Stop the show</translation>
    </message>
    <message>
        <source>Показ</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Интервал:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source> с</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Подгонять поле зрения камеры под компонент</source>
        <translation>Fit the camera&apos;s field of view to the component</translation>
    </message>
    <message>
        <source>Сканировать реперные знаки всех плат</source>
        <translation>Scan the reference marks of every board</translation>
    </message>
    <message>
        <source>По X</source>
        <translation>By X</translation>
    </message>
    <message>
        <source>По Y</source>
        <translation>By Y</translation>
    </message>
    <message>
        <source>В порядке расстановки</source>
        <translation>In placement order</translation>
    </message>
    <message>
        <source>Ускорение:</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Компонент</source>
        <translation>Component</translation>
    </message>
    <message>
        <source>Координаты</source>
        <translation>Coordinates</translation>
    </message>
    <message>
        <source>Корректировка положения</source>
        <translation>Position correction</translation>
    </message>
    <message>
        <source>Поворот:</source>
        <translation>Rotation:</translation>
    </message>
    <message>
        <source>стоп</source>
        <translation>stop</translation>
    </message>
    <message>
        <source>тест!</source>
        <translation>test!</translation>
    </message>
    <message>
        <source>Область поиска, %:</source>
        <translation>Search area, %:</translation>
    </message>
    <message>
        <source>Порог:</source>
        <translation>Threshold:</translation>
    </message>
</context>
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
    <name>ComponentImport</name>
    <message>
        <source>Ошибка импорта. Координаты X</source>
        <translation>Import error. Coordinates X</translation>
    </message>
    <message>
        <source> и </source>
        <translation> and </translation>
    </message>
    <message>
        <source> выходят за границы. refDes: </source>
        <translation> are out of bounds. refDes: </translation>
    </message>
    <message>
        <source>Импорт завершен. Количество импортированных компонентов (и реперных знаков): </source>
        <translation>Import finished. Components (and reference marks) imported: </translation>
    </message>
    <message>
        <source>Компоненты не были импортированы.</source>
        <translation>No components were imported.</translation>
    </message>
    <message>
        <source>Файл списка компонентов</source>
        <translation>Component list file</translation>
    </message>
    <message>
        <source>Списки компонентов (*.pos *.csv *.txt *.mnt *.mnb)</source>
        <translation>Component lists (*.pos *.csv *.txt *.mnt *.mnb)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Открыть файл...</source>
        <translation>Open file...</translation>
    </message>
    <message>
        <source>Разделитель</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Корпус</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>Не используется</source>
        <translation>Not used</translation>
    </message>
    <message>
        <source>Номинал</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Обозначение</source>
        <translation>Designator</translation>
    </message>
    <message>
        <source>Угол</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Комментарий</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Сторона платы</source>
        <translation>Board side</translation>
    </message>
    <message>
        <source>Верх</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Низ</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Колонка стороны</source>
        <translation>Side column</translation>
    </message>
    <message>
        <source>Низ: отразить</source>
        <translation>Bottom: mirror</translation>
    </message>
    <message>
        <source>по X</source>
        <translation>in X</translation>
    </message>
    <message>
        <source>по Y</source>
        <translation>in Y</translation>
    </message>
    <message>
        <source>Доп. поворот</source>
        <translation>Extra rotation</translation>
    </message>
    <message>
        <source>Сортировка</source>
        <translation>Sorting</translation>
    </message>
    <message>
        <source>по количеству</source>
        <translation>by count</translation>
    </message>
    <message>
        <source>по корпусу</source>
        <translation>by package</translation>
    </message>
    <message>
        <source>Прочитать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Компоненты</source>
        <translation>Components</translation>
    </message>
    <message>
        <source>Шт.</source>
        <translation>Qty</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Поворот</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Выбранная группа:</source>
        <translation>Selected group:</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>Назначить питатель</source>
        <translation>Assign feeder</translation>
    </message>
    <message>
        <source>Убрать группу</source>
        <translation>Remove group</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
</context>
<context>
    <name>DataUrl</name>
    <message>
        <source>Изображение не прочитано: ожидается ссылка вида «data:image/...;base64,...»</source>
        <translation>The picture was not read: a link of the form «data:image/...;base64,...» is expected</translation>
    </message>
    <message>
        <source>Изображение не прочитано: данные ссылки «data:» не в кодировке base64</source>
        <translation>The picture was not read: the data of the «data:» link is not base64-encoded</translation>
    </message>
    <message>
        <source>Изображение не прочитано: данные base64 повреждены</source>
        <translation>The picture was not read: the base64 data is damaged</translation>
    </message>
    <message>
        <source>Изображение не прочитано: данные не являются изображением</source>
        <translation>The picture was not read: the data is not a picture</translation>
    </message>
</context>
<context>
    <name>DeviceSettings</name>
    <message>
        <source>Настройки аппарата</source>
        <translation>Machine settings</translation>
    </message>
    <message>
        <source>Не сохранено: </source>
        <translation>Not saved: </translation>
    </message>
    <message>
        <source>Настройки сохранены</source>
        <translation>Settings saved</translation>
    </message>
    <message>
        <source>Изменений нет</source>
        <translation>Nothing changed</translation>
    </message>
    <message>
        <source>Настройки аппарата сохранены: </source>
        <translation>Machine settings saved: </translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ElementListImportWindow</name>
    <message>
        <source>Импорт списка компонентов (питатели уже настроены)</source>
        <translation>Component list import (feeders already set up)</translation>
    </message>
</context>
<context>
    <name>EncoderCalibration</name>
    <message>
        <source>Калибровка ремней и энкодерных лент</source>
        <translation>Belt and encoder strip calibration</translation>
    </message>
    <message>
        <source>После калибровки, не забудьте активировать калибровку рабочего поля аппарата.</source>
        <translation>After the calibration, do not forget to switch the machine work field calibration on again.</translation>
    </message>
    <message>
        <source>Переместите камеру к другому концу калибровочного объекта и нажмите &quot;Указать конец&quot;.</source>
        <translation>Move the camera to the other end of the calibration object and press &quot;Mark end&quot;.</translation>
    </message>
    <message>
        <source>Автокалибровка...</source>
        <translation>Automatic calibration...</translation>
    </message>
    <message>
        <source>Новый масштабный коэффициент для оси %1 сохранен! Для применения изменений, перезагрузите LinuxCNC!</source>
        <translation>The new scale for axis %1 is saved! Restart LinuxCNC to apply the changes!</translation>
    </message>
    <message>
        <source>Сохранено. Перезагрузите LinuxCNC.</source>
        <translation>Saved. Restart LinuxCNC.</translation>
    </message>
    <message>
        <source>Калибровка отменена</source>
        <translation>Calibration cancelled</translation>
    </message>
    <message>
        <source>Перезагрузите LinuxCNC</source>
        <translation>Restart LinuxCNC</translation>
    </message>
    <message>
        <source>меток/мм</source>
        <translation>counts/mm</translation>
    </message>
    <message>
        <source>шагов/мм</source>
        <translation>steps/mm</translation>
    </message>
    <message>
        <source>Энкодер</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>Двигатель</source>
        <translation>Motor</translation>
    </message>
    <message>
        <source>Ручной</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Автоматический</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Калибровать:</source>
        <translation>Calibrate:</translation>
    </message>
    <message>
        <source>Ремень</source>
        <translation>Belt</translation>
    </message>
    <message>
        <source>Энкодерную ленту</source>
        <translation>Encoder strip</translation>
    </message>
    <message>
        <source>Ось:</source>
        <translation>Axis:</translation>
    </message>
    <message>
        <source>Размер объекта, мм:</source>
        <translation>Object size, mm:</translation>
    </message>
    <message>
        <source>Указать начало</source>
        <translation>Mark start</translation>
    </message>
    <message>
        <source>Указать конец</source>
        <translation>Mark end</translation>
    </message>
    <message>
        <source>Расстояние X, мм:</source>
        <translation>Distance X, mm:</translation>
    </message>
    <message>
        <source>Расстояние Y, мм:</source>
        <translation>Distance Y, mm:</translation>
    </message>
    <message>
        <source>Автокалибровка</source>
        <translation>Automatic calibration</translation>
    </message>
    <message>
        <source>Поставьте камеру над первым репером; второй лежит на расстоянии Y от него по оси Y, третий на расстоянии X от второго по оси X.</source>
        <translation>Put the camera over the first mark; the second lies distance Y from it along Y, the third distance X from the second along X.</translation>
    </message>
    <message>
        <source>Поставьте камеру на один край объекта, нажмите &quot;Указать начало&quot;, переместите камеру на другой край.</source>
        <translation>Put the camera on one edge of the object, press &quot;Mark start&quot;, move the camera to the other edge.</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>EncoderSettings</name>
    <message>
        <source>Настройка энкодеров</source>
        <translation>Encoder settings</translation>
    </message>
    <message>
        <source>Энкодер X</source>
        <translation>Encoder X</translation>
    </message>
    <message>
        <source>Энкодер Y</source>
        <translation>Encoder Y</translation>
    </message>
    <message>
        <source>Энкодер Z</source>
        <translation>Encoder Z</translation>
    </message>
    <message>
        <source>Перезапустите LinuxCNC, чтобы изменения вступили в силу.</source>
        <translation>Restart LinuxCNC for the changes to take effect.</translation>
    </message>
    <message>
        <source>Двигатель, мм</source>
        <translation>Motor, mm</translation>
    </message>
    <message>
        <source>Энкодер, мм</source>
        <translation>Encoder, mm</translation>
    </message>
    <message>
        <source>Расхождение</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Макс. расхождение</source>
        <translation>Max. difference</translation>
    </message>
    <message>
        <source>Допустимое, мм</source>
        <translation>Allowed, mm</translation>
    </message>
    <message>
        <source>Активировать E-STOP при превышении этого расхождения</source>
        <translation>Trigger E-STOP when this difference is exceeded</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
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
    <name>ExecutionExtraPanel</name>
    <message>
        <source>Редактировать</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Входы</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>Старт/Пауза</source>
        <translation>Start/Pause</translation>
    </message>
    <message>
        <source>П1</source>
        <translation>P1</translation>
    </message>
    <message>
        <source>П2</source>
        <translation>P2</translation>
    </message>
    <message>
        <source>Энкодер: </source>
        <translation>Encoder: </translation>
    </message>
    <message>
        <source>G-код начала работы</source>
        <translation>Start-of-work G-code</translation>
    </message>
    <message>
        <source>начало работы</source>
        <translation>start of work</translation>
    </message>
    <message>
        <source>G-код окончания работы</source>
        <translation>End-of-work G-code</translation>
    </message>
    <message>
        <source>окончание работы</source>
        <translation>end of work</translation>
    </message>
    <message>
        <source>G-код сброса в корзину</source>
        <translation>Basket drop G-code</translation>
    </message>
    <message>
        <source>сброс в корзину</source>
        <translation>drop into basket</translation>
    </message>
    <message>
        <source>G-код при окончании компонентов</source>
        <translation>Out-of-components G-code</translation>
    </message>
    <message>
        <source>кончились компоненты</source>
        <translation>out of components</translation>
    </message>
    <message>
        <source>G-код перед камерой</source>
        <translation>Before-camera G-code</translation>
    </message>
    <message>
        <source>к камере</source>
        <translation>to camera</translation>
    </message>
    <message>
        <source>G-код после камеры</source>
        <translation>After-camera G-code</translation>
    </message>
    <message>
        <source>от камеры</source>
        <translation>from camera</translation>
    </message>
    <message>
        <source>G-код к 1 калибровочному знаку</source>
        <translation>G-code to calibration mark 1</translation>
    </message>
    <message>
        <source>к 1 калиб.</source>
        <translation>to 1st calib.</translation>
    </message>
    <message>
        <source>знаку</source>
        <translation>mark</translation>
    </message>
    <message>
        <source>G-код ко 2 калибровочному знаку</source>
        <translation>G-code to calibration mark 2</translation>
    </message>
    <message>
        <source>ко 2 калиб.</source>
        <translation>to 2nd calib.</translation>
    </message>
    <message>
        <source>навести на</source>
        <translation>centre on the</translation>
    </message>
    <message>
        <source>знак</source>
        <translation>mark</translation>
    </message>
</context>
<context>
    <name>ExecutionInterface</name>
    <message>
        <source>Прямое управление</source>
        <translation>Direct control</translation>
    </message>
    <message>
        <source>Компрессор</source>
        <translation>Compressor</translation>
    </message>
    <message>
        <source>Пн-клапан 1</source>
        <translation>Pn. valve 1</translation>
    </message>
    <message>
        <source>Пн-клапан 2</source>
        <translation>Pn. valve 2</translation>
    </message>
    <message>
        <source>Кам 1/Кам 2</source>
        <translation>Cam 1/Cam 2</translation>
    </message>
    <message>
        <source>Вибропитатель 1</source>
        <translation>Vibro feeder 1</translation>
    </message>
    <message>
        <source>Вибропитатель 2</source>
        <translation>Vibro feeder 2</translation>
    </message>
    <message>
        <source>Вых 1</source>
        <translation>Out 1</translation>
    </message>
    <message>
        <source>Вых 2</source>
        <translation>Out 2</translation>
    </message>
    <message>
        <source>Вых 3</source>
        <translation>Out 3</translation>
    </message>
    <message>
        <source>Положение камеры компонентов задано неверно</source>
        <translation>The component camera position is not valid</translation>
    </message>
    <message>
        <source>G-код не задан</source>
        <translation>No G-code is set</translation>
    </message>
    <message>
        <source>Не удалось навести камеру на знак</source>
        <translation>The camera could not be centred on the mark</translation>
    </message>
</context>
<context>
    <name>ExecutionMainPanel</name>
    <message>
        <source>мм</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Вкл.</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Макс. вверх</source>
        <translation>Max. up</translation>
    </message>
    <message>
        <source>Вверх</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Вниз</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Насадка: </source>
        <translation>Nozzle: </translation>
    </message>
    <message>
        <source>Насадка </source>
        <translation>Nozzle </translation>
    </message>
    <message>
        <source>Вернуть</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>Взять</source>
        <translation>Take</translation>
    </message>
    <message>
        <source>Скорость:</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>Команда</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>Координаты не откалиброваны!</source>
        <translation>Coordinates are not calibrated!</translation>
    </message>
    <message>
        <source>Будьте внимательны при выполнении произвольных команд на большой скорости!</source>
        <translation>Take care when running arbitrary commands at high speed!</translation>
    </message>
    <message>
        <source>Остановить прогонку</source>
        <translation>Stop the warm-up</translation>
    </message>
    <message>
        <source>Прогонка аппарата</source>
        <translation>Machine warm-up</translation>
    </message>
    <message>
        <source>перед работой</source>
        <translation>before work</translation>
    </message>
</context>
<context>
    <name>FeederBanks</name>
    <message>
        <source>Не указаны пути сохранения настроек питателей!</source>
        <translation>No save paths are set for the feeder settings!</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
</context>
<context>
    <name>FeederExportSettings</name>
    <message>
        <source>Экспорт списка питателей</source>
        <translation>Feeder list export</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Корпус</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>Номинал (part number)</source>
        <translation>Value (part number)</translation>
    </message>
    <message>
        <source>В проекте шт.</source>
        <translation>In project, qty</translation>
    </message>
    <message>
        <source>Установлено шт.</source>
        <translation>Placed, qty</translation>
    </message>
    <message>
        <source>Сбросов шт.</source>
        <translation>Rejected, qty</translation>
    </message>
    <message>
        <source>Позиционные обозначения</source>
        <translation>Designators</translation>
    </message>
    <message>
        <source>Текстовый файл (*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <source>Разделитель</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>пробелы (колонки)</source>
        <translation>blanks (columns)</translation>
    </message>
    <message>
        <source>Порядок строк</source>
        <translation>Row order</translation>
    </message>
    <message>
        <source>по количеству в проекте</source>
        <translation>by count in the project</translation>
    </message>
    <message>
        <source>по питателям</source>
        <translation>by feeders</translation>
    </message>
    <message>
        <source>Заголовок</source>
        <translation>Header</translation>
    </message>
    <message>
        <source>Пустые питатели</source>
        <translation>Empty feeders</translation>
    </message>
    <message>
        <source>Порядок колонок (перетащите):</source>
        <translation>Column order (drag):</translation>
    </message>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>FeederFile</name>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>Питатель №%1 (%2)</source>
        <translation>Feeder no. %1 (%2)</translation>
    </message>
    <message>
        <source>%1: неверное значение %2 = &quot;%3&quot;, взято %4</source>
        <translation>%1: invalid value %2 = &quot;%3&quot;, %4 used instead</translation>
    </message>
    <message>
        <source>Файл питателей не записан: %1, значение %2 = %3 не является конечным числом</source>
        <translation>The feeder file was not written: %1, value %2 = %3 is not a finite number</translation>
    </message>
</context>
<context>
    <name>FeederListExport</name>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Корпус</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>Номинал (part number)</source>
        <translation>Value (part number)</translation>
    </message>
    <message>
        <source>В проекте шт.</source>
        <translation>In project, qty</translation>
    </message>
    <message>
        <source>Установлено шт.</source>
        <translation>Placed, qty</translation>
    </message>
    <message>
        <source>Сбросов шт.</source>
        <translation>Rejected, qty</translation>
    </message>
    <message>
        <source>Позиционные обозначения</source>
        <translation>Designators</translation>
    </message>
    <message>
        <source>Снизу</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Слева</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Сверху</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Справа</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Проект: </source>
        <translation>Project: </translation>
    </message>
    <message>
        <source>не открыт</source>
        <translation>not open</translation>
    </message>
</context>
<context>
    <name>FeederListImportAutoAssignWindow</name>
    <message>
        <source>Автоматическое назначение питателей</source>
        <translation>Automatic feeder assignment</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>Банк</source>
        <translation>Bank</translation>
    </message>
    <message>
        <source>С питателя №</source>
        <translation>From feeder no.</translation>
    </message>
    <message>
        <source>По питатель №</source>
        <translation>To feeder no.</translation>
    </message>
    <message>
        <source>Лента 8 мм</source>
        <translation>Tape 8 mm</translation>
    </message>
    <message>
        <source>Лента 12 и 16 мм</source>
        <translation>Tape 12 and 16 mm</translation>
    </message>
    <message>
        <source>Назначить</source>
        <translation>Assign</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>FeederListImportHelpWindow</name>
    <message>
        <source>Импорт списка питателей: справка</source>
        <translation>Feeder list import: help</translation>
    </message>
</context>
<context>
    <name>FeederListImportWindow</name>
    <message>
        <source>Импорт списка питателей</source>
        <translation>Feeder list import</translation>
    </message>
    <message>
        <source>Питатели не назначены строкам: </source>
        <translation>Lines left without a feeder: </translation>
    </message>
    <message>
        <source>Импорт завершен. Количество импортированных наименований: </source>
        <translation>Import finished. Parts imported: </translation>
    </message>
    <message>
        <source>Наименования не были импортированы.</source>
        <translation>No parts were imported.</translation>
    </message>
    <message>
        <source>Файл списка питателей</source>
        <translation>Feeder list file</translation>
    </message>
    <message>
        <source>Таблицы (*.csv *.txt *.tsv)</source>
        <translation>Tables (*.csv *.txt *.tsv)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>(1) Открыть файл...</source>
        <translation>(1) Open file...</translation>
    </message>
    <message>
        <source>Разделитель</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Корпус</source>
        <translation>Package</translation>
    </message>
    <message>
        <source>Номинал</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Обозначения</source>
        <translation>Designators</translation>
    </message>
    <message>
        <source>Не используется</source>
        <translation>Not used</translation>
    </message>
    <message>
        <source>Количество</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>Не импортировать строки с количеством 0</source>
        <translation>Do not import lines with quantity 0</translation>
    </message>
    <message>
        <source>(2) Прочитать</source>
        <translation>(2) Read</translation>
    </message>
    <message>
        <source>Шт.</source>
        <translation>Qty</translation>
    </message>
    <message>
        <source>Питатель</source>
        <translation>Feeder</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>Назначить питатель</source>
        <translation>Assign feeder</translation>
    </message>
    <message>
        <source>Убрать строку</source>
        <translation>Remove line</translation>
    </message>
    <message>
        <source>(3) Назначить автоматически...</source>
        <translation>(3) Assign automatically...</translation>
    </message>
    <message>
        <source>(4) Импорт</source>
        <translation>(4) Import</translation>
    </message>
</context>
<context>
    <name>FeederState</name>
    <message>
        <source>Питатель №%1 (%2)</source>
        <translation>Feeder no. %1 (%2)</translation>
    </message>
    <message>
        <source>Неизвестный банк питателей «%1»: значение поля «%2» не записано</source>
        <translation>Unknown feeder bank «%1»: the value of the field «%2» was not written</translation>
    </message>
    <message>
        <source>Питатель №%1 (%2) не существует: значение поля «%3» не записано</source>
        <translation>Feeder no. %1 (%2) does not exist: the value of the field «%3» was not written</translation>
    </message>
    <message>
        <source>поле «%1» не принимает значение %2, значение не записано</source>
        <translation>the field «%1» does not take the value %2; the value was not written</translation>
    </message>
    <message>
        <source>Не указаны пути сохранения настроек питателей!</source>
        <translation>No save paths are set for the feeder settings!</translation>
    </message>
</context>
<context>
    <name>FieldCalibration</name>
    <message>
        <source>Калибровка рабочего поля аппарата</source>
        <translation>Machine work field calibration</translation>
    </message>
    <message>
        <source>Калибровка рабочего поля: начало</source>
        <translation>Work field calibration: start</translation>
    </message>
    <message>
        <source>Сторона %1, ряд %2: крайние знаки</source>
        <translation>Side %1, row %2: end marks</translation>
    </message>
    <message>
        <source>Калибровка рабочего поля прервана</source>
        <translation>Work field calibration aborted</translation>
    </message>
    <message>
        <source>Калибровочный знак не найден!</source>
        <translation>Calibration mark not found!</translation>
    </message>
    <message>
        <source>Поверните пластину на 180° и нажмите «Продолжить»</source>
        <translation>Turn the plate by 180° and press “Continue”</translation>
    </message>
    <message>
        <source>Калибровка рабочего поля выполнена</source>
        <translation>Work field calibration done</translation>
    </message>
    <message>
        <source>Калибровка рабочего поля прервана: машина потеряла исходное положение</source>
        <translation>Work field calibration aborted: the machine lost its home position</translation>
    </message>
    <message>
        <source>Начало X, мм</source>
        <translation>Start X, mm</translation>
    </message>
    <message>
        <source>Начало Y, мм</source>
        <translation>Start Y, mm</translation>
    </message>
    <message>
        <source>Шаг X, мм</source>
        <translation>Step X, mm</translation>
    </message>
    <message>
        <source>Шаг Y, мм</source>
        <translation>Step Y, mm</translation>
    </message>
    <message>
        <source>Точек в ряду</source>
        <translation>Points per row</translation>
    </message>
    <message>
        <source>Рядов</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>Калибровка активна</source>
        <translation>Calibration active</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Неверная координата знака: калибровка рабочего поля прервана</source>
        <translation>Invalid mark coordinate: the work-field calibration was interrupted</translation>
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
        <source>Неверное слово &quot;%1&quot; в строке &quot;%2&quot;!</source>
        <translation>Invalid word &quot;%1&quot; in line &quot;%2&quot;!</translation>
    </message>
    <message>
        <source>Повторное слово &quot;%1&quot; в строке &quot;%2&quot;!</source>
        <translation>Repeated word &quot;%1&quot; in line &quot;%2&quot;!</translation>
    </message>
    <message>
        <source>В строке &quot;%1&quot; не задан номер выхода!</source>
        <translation>Line &quot;%1&quot; gives no output number!</translation>
    </message>
    <message>
        <source>Недопустимый номер выхода &quot;%1&quot; в строке &quot;%2&quot;!</source>
        <translation>Invalid output number &quot;%1&quot; in line &quot;%2&quot;!</translation>
    </message>
    <message>
        <source>В строке &quot;%1&quot; не задано время паузы!</source>
        <translation>Line &quot;%1&quot; gives no dwell time!</translation>
    </message>
    <message>
        <source>Положение оси %1 неизвестно: строка &quot;%2&quot; не выполнена!</source>
        <translation>The position of axis %1 is unknown: line &quot;%2&quot; was not executed!</translation>
    </message>
    <message>
        <source>Цель слова &quot;%1&quot; в строке &quot;%2&quot; не является конечным числом!</source>
        <translation>The target of word &quot;%1&quot; in line &quot;%2&quot; is not a finite number!</translation>
    </message>
    <message>
        <source>Поправка поля для строки &quot;%1&quot; не является конечным числом!</source>
        <translation>The field correction for line &quot;%1&quot; is not a finite number!</translation>
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
    <name>GCodeSettingEditor</name>
    <message>
        <source>Редактирование G-кода</source>
        <translation>Edit G-code</translation>
    </message>
    <message>
        <source>Неизвестная настройка G-кода: </source>
        <translation>Unknown G-code setting: </translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ImportLists</name>
    <message>
        <source>Реперный знак</source>
        <translation>Reference mark</translation>
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
    <name>IniEditor</name>
    <message>
        <source>в файле нет всех изменяемых ключей осей</source>
        <translation>the file lacks some of the axis keys to change</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>файл не удалось прочитать, он не перезаписан</source>
        <translation>the file could not be read and was not overwritten</translation>
    </message>
</context>
<context>
    <name>IniText</name>
    <message>
        <source>не закрыта группа %1</source>
        <translation>group %1 left open</translation>
    </message>
</context>
<context>
    <name>JobPort</name>
    <message>
        <source>Внутренняя ошибка программы: </source>
        <translation>Internal program error: </translation>
    </message>
</context>
<context>
    <name>LensCalibrationPanel</name>
    <message>
        <source>Калибровка оптики камеры</source>
        <translation>Camera lens calibration</translation>
    </message>
    <message>
        <source>Остановить калибровку</source>
        <translation>Stop calibration</translation>
    </message>
    <message>
        <source>Сделать фото</source>
        <translation>Take photo</translation>
    </message>
    <message>
        <source>Кадров: </source>
        <translation>Frames: </translation>
    </message>
    <message>
        <source> из 9.</source>
        <translation> of 9.</translation>
    </message>
    <message>
        <source>Применить калибровку оптики</source>
        <translation>Apply lens calibration</translation>
    </message>
    <message>
        <source>Калибровка оптики камеры сохранена</source>
        <translation>Camera lens calibration saved</translation>
    </message>
</context>
<context>
    <name>MachineRecords</name>
    <message>
        <source>Насадка №%1</source>
        <translation>Nozzle no. %1</translation>
    </message>
    <message>
        <source>Банк ленточных питателей №%1</source>
        <translation>Tape feeder bank no. %1</translation>
    </message>
    <message>
        <source>Банк вибропитателей №%1</source>
        <translation>Vibration feeder bank no. %1</translation>
    </message>
    <message>
        <source>%1: неверное значение %2 = &quot;%3&quot; в файле настроек, взято %4</source>
        <translation>%1: invalid value %2 = &quot;%3&quot; in the settings file, %4 used instead</translation>
    </message>
    <message>
        <source>Настройки не записаны: %1, значение %2 = %3 не является конечным числом</source>
        <translation>The settings were not written: %1, value %2 = %3 is not a finite number</translation>
    </message>
</context>
<context>
    <name>MachineState</name>
    <message>
        <source>LinuxCNC запущен</source>
        <translation>LinuxCNC running</translation>
    </message>
    <message>
        <source>LinuxCNC остановлен</source>
        <translation>LinuxCNC stopped</translation>
    </message>
    <message>
        <source>Ошибка LinuxCNC: </source>
        <translation>LinuxCNC error: </translation>
    </message>
    <message>
        <source>Неверная координата %1: перемещение не выполнено</source>
        <translation>Invalid %1 coordinate: the move was not made</translation>
    </message>
    <message>
        <source>Калибровка выполнена</source>
        <translation>Calibration done</translation>
    </message>
    <message>
        <source>Не удалось запустить LinuxCNC</source>
        <translation>Failed to start LinuxCNC</translation>
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
    <message>
        <source>Новый проект</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>Открыть проект...</source>
        <translation>Open project...</translation>
    </message>
    <message>
        <source>Сохранить проект</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>Сохранить проект как...</source>
        <translation>Save project as...</translation>
    </message>
    <message>
        <source>Обновить базу корпусов</source>
        <translation>Reload package base</translation>
    </message>
    <message>
        <source>Подобрать питатели для компонентов</source>
        <translation>Find feeders for components</translation>
    </message>
    <message>
        <source>Проект</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Импорт списка компонентов (питатели уже настроены)...</source>
        <translation>Component list import (feeders already set up)...</translation>
    </message>
    <message>
        <source>Импорт списка компонентов (одновременно с настройкой питателей)...</source>
        <translation>Component list import (setting up feeders)...</translation>
    </message>
    <message>
        <source>Импорт списка питателей...</source>
        <translation>Feeder list import...</translation>
    </message>
    <message>
        <source>Экспорт списка питателей...</source>
        <translation>Feeder list export...</translation>
    </message>
    <message>
        <source>Статистика</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Статистика по дням</source>
        <translation>Statistics by day</translation>
    </message>
    <message>
        <source>Журнал проекта</source>
        <translation>Project log</translation>
    </message>
    <message>
        <source>Камера на голове</source>
        <translation>Head camera</translation>
    </message>
    <message>
        <source>Камера корректировки компонентов</source>
        <translation>Component correction camera</translation>
    </message>
    <message>
        <source>Настройки камер</source>
        <translation>Camera settings</translation>
    </message>
    <message>
        <source>Калибровка рабочего поля аппарата</source>
        <translation>Machine work field calibration</translation>
    </message>
    <message>
        <source>Датчик разрежения</source>
        <translation>Vacuum sensor</translation>
    </message>
    <message>
        <source>Измеритель RLC</source>
        <translation>RLC meter</translation>
    </message>
    <message>
        <source>Программатор</source>
        <translation>Programmer</translation>
    </message>
    <message>
        <source>Вибропитатели</source>
        <translation>Vibration feeders</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Аппарат</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>Камеры</source>
        <translation>Cameras</translation>
    </message>
    <message>
        <source>Парольная защита...</source>
        <translation>Password protection...</translation>
    </message>
    <message>
        <source>Прямое управление</source>
        <translation>Direct control</translation>
    </message>
    <message>
        <source>Расстановка компонентов</source>
        <translation>Component placement</translation>
    </message>
    <message>
        <source>Визуальная проверка расстановки/программы</source>
        <translation>Visual check of the placement/program</translation>
    </message>
    <message>
        <source>Настройка энкодеров</source>
        <translation>Encoder settings</translation>
    </message>
    <message>
        <source>Калибровка ремней и энкодерных лент</source>
        <translation>Belt and encoder strip calibration</translation>
    </message>
    <message>
        <source>Насадки</source>
        <translation>Nozzles</translation>
    </message>
    <message>
        <source>Центрирование ленточных питателей по перфорациям</source>
        <translation>Tape feeder centring by perforations</translation>
    </message>
    <message>
        <source>Оптическая инспекция</source>
        <translation>Optical inspection</translation>
    </message>
    <message>
        <source>Автоматическая калибровка положения камер</source>
        <translation>Automatic calibration of the camera positions</translation>
    </message>
</context>
<context>
    <name>MarkPort</name>
    <message>
        <source>Плата в проекте сдвинута на X: %1 Y: %2 мм</source>
        <translation>The board was moved in the project by X: %1 Y: %2 mm</translation>
    </message>
</context>
<context>
    <name>MissedComponentsWindow</name>
    <message>
        <source>Доустановить пропущенные компоненты? (</source>
        <translation>Place the missed components? (</translation>
    </message>
    <message>
        <source> шт.)</source>
        <translation> pcs.)</translation>
    </message>
    <message>
        <source>Компонент</source>
        <translation>Component</translation>
    </message>
    <message>
        <source>Доустановить выбранные компоненты</source>
        <translation>Place the selected components</translation>
    </message>
    <message>
        <source>Не доустанавливать</source>
        <translation>Do not place them</translation>
    </message>
</context>
<context>
    <name>NotFoundFeedersWorkout</name>
    <message>
        <source>Замена питателей</source>
        <translation>Feeder replacement</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Компоненты </source>
        <translation>Components </translation>
    </message>
    <message>
        <source> переведены на питатель </source>
        <translation> moved to feeder </translation>
    </message>
    <message>
        <source>Для этих компонентов питатель не найден или в нём другие компоненты. Выберите питатель на замену.</source>
        <translation>For these components the feeder is missing or holds other parts. Choose a replacement feeder.</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>NozzleConfirmWindow</name>
    <message>
        <source>Проверка насадки</source>
        <translation>Nozzle check</translation>
    </message>
    <message>
        <source>На головке насадка </source>
        <translation>Nozzle on the head: </translation>
    </message>
    <message>
        <source>На головке нет насадки</source>
        <translation>No nozzle on the head</translation>
    </message>
    <message>
        <source>Верно</source>
        <translation>Correct</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
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
    <name>NozzleSettings</name>
    <message>
        <source>Настройки насадок</source>
        <translation>Nozzle settings</translation>
    </message>
    <message>
        <source>Ошибка при автокалибровке насадок! Неверные координаты.</source>
        <translation>Nozzle auto-calibration error! Invalid coordinates.</translation>
    </message>
    <message>
        <source>База насадок:</source>
        <translation>Nozzle base:</translation>
    </message>
    <message>
        <source>KESTRAVO 6 шт.</source>
        <translation>KESTRAVO 6 pcs.</translation>
    </message>
    <message>
        <source>JUKI 8 шт.</source>
        <translation>JUKI 8 pcs.</translation>
    </message>
    <message>
        <source>Количество насадок:</source>
        <translation>Number of nozzles:</translation>
    </message>
    <message>
        <source>ΔX между насадками=0;</source>
        <translation>ΔX between nozzles=0;</translation>
    </message>
    <message>
        <source>ΔY между насадками:</source>
        <translation>ΔY between nozzles:</translation>
    </message>
    <message>
        <source>X-координата отвода насадки:</source>
        <translation>Nozzle clear-of-slot X coordinate:</translation>
    </message>
    <message>
        <source>Z-координата дна базы:</source>
        <translation>Base bottom Z coordinate:</translation>
    </message>
    <message>
        <source>Насадка:</source>
        <translation>Nozzle:</translation>
    </message>
    <message>
        <source>G-код взятия:</source>
        <translation>Take G-code:</translation>
    </message>
    <message>
        <source>G-код установки:</source>
        <translation>Return G-code:</translation>
    </message>
    <message>
        <source>Стоп</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Автокалибровка насадок</source>
        <translation>Nozzle auto-calibration</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>OperatorMessages</name>
    <message>
        <source>Ошибка: </source>
        <translation>Error: </translation>
    </message>
</context>
<context>
    <name>PackageBase</name>
    <message>
        <source>Корпус %1: неверный размер %2 = %3 в имени файла, параметры из имени не взяты</source>
        <translation>Package %1: invalid size %2 = %3 in the file name, the parameters of the name were not used</translation>
    </message>
    <message>
        <source>Корпус %1: неверное значение %2 = &quot;%3&quot; в packageBase.ini, взято %4</source>
        <translation>Package %1: invalid value %2 = &quot;%3&quot; in packageBase.ini, %4 used instead</translation>
    </message>
    <message>
        <source>База корпусов не записана: корпус %1, значение %2 = %3 не является конечным числом</source>
        <translation>The package base was not written: package %1, value %2 = %3 is not a finite number</translation>
    </message>
</context>
<context>
    <name>PasswordSettings</name>
    <message>
        <source>Парольная защита</source>
        <translation>Password protection</translation>
    </message>
    <message>
        <source>Пароль не задан</source>
        <translation>No password set</translation>
    </message>
    <message>
        <source>Пароль задан</source>
        <translation>Password set</translation>
    </message>
    <message>
        <source>Введите текущий пароль:</source>
        <translation>Enter the current password:</translation>
    </message>
    <message>
        <source>Введен неверный пароль!</source>
        <translation>Wrong password!</translation>
    </message>
    <message>
        <source>Введите новый пароль:</source>
        <translation>Enter the new password:</translation>
    </message>
    <message>
        <source>Повторите ввод:</source>
        <translation>Repeat the entry:</translation>
    </message>
    <message>
        <source>Введенные пароли не совпадают!</source>
        <translation>The passwords entered do not match!</translation>
    </message>
    <message>
        <source>Парольная защита основных настроек:</source>
        <translation>Password protection of the main settings:</translation>
    </message>
    <message>
        <source>Задать пароль</source>
        <translation>Set password</translation>
    </message>
    <message>
        <source>Изменить пароль</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>Откл. парольную защиту</source>
        <translation>Turn protection off</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Попробовать еще раз</source>
        <translation>Try again</translation>
    </message>
    <message>
        <source>Ввести еще раз</source>
        <translation>Enter again</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ProgramCreation</name>
    <message>
        <source>Проверьте расстановку реперных знаков!</source>
        <translation>Check the reference marks!</translation>
    </message>
    <message>
        <source>Все платы исключены из расстановки!</source>
        <translation>All boards are excluded from placement!</translation>
    </message>
    <message>
        <source>Калибровка</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>Исполнение стартового g-кода</source>
        <translation>Running the starting G-code</translation>
    </message>
    <message>
        <source>Один или более компонент находится за границей области расстановки!</source>
        <translation>One or more components lie outside the placement area!</translation>
    </message>
    <message>
        <source>Возврат насадки </source>
        <translation>Return the nozzle </translation>
    </message>
    <message>
        <source>Оптическая инспекция</source>
        <translation>Optical inspection</translation>
    </message>
    <message>
        <source>Исполнение завершающего g-кода</source>
        <translation>Running the ending G-code</translation>
    </message>
</context>
<context>
    <name>ProgrammerSettings</name>
    <message>
        <source>Настройки программатора</source>
        <translation>Programmer settings</translation>
    </message>
    <message>
        <source>Успех!</source>
        <translation>Success!</translation>
    </message>
    <message>
        <source>Ошибка!</source>
        <translation>Error!</translation>
    </message>
    <message>
        <source>Таймаут</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>Код ошибки: </source>
        <translation>Error code: </translation>
    </message>
    <message>
        <source>Исполняемый файл:</source>
        <translation>Executable file:</translation>
    </message>
    <message>
        <source>Использовать программатор</source>
        <translation>Use the programmer</translation>
    </message>
    <message>
        <source>Управление через Установщик</source>
        <translation>Controlled by the machine</translation>
    </message>
    <message>
        <source>Запуск исполняемого файла</source>
        <translation>Run an executable file</translation>
    </message>
    <message>
        <source>Изменить</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Высота над платформой, мм:</source>
        <translation>Height above the platform, mm:</translation>
    </message>
    <message>
        <source>мм:</source>
        <translation>mm:</translation>
    </message>
    <message>
        <source>Поворот компонента в программаторе, град:</source>
        <translation>Component rotation in the programmer, deg:</translation>
    </message>
    <message>
        <source>Ожидание отклика от программатора, сек:</source>
        <translation>Wait for the programmer&apos;s answer, s:</translation>
    </message>
    <message>
        <source>Программировать</source>
        <translation>Program</translation>
    </message>
</context>
<context>
    <name>ProjectActions</name>
    <message>
        <source>Открыт проект </source>
        <translation>Project opened: </translation>
    </message>
    <message>
        <source>Новый проект</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>Проект сохранён</source>
        <translation>Project saved</translation>
    </message>
    <message>
        <source>Проект сохранён как </source>
        <translation>Project saved as </translation>
    </message>
    <message>
        <source>Вы отказались дать имя новому проекту. Можно сделать это позже, нажав на &quot;дискету&quot;, или выбрав меню &quot;Файл-&gt;Сохранить проект как&quot;.</source>
        <translation>You declined to name the new project. You can do it later with the &quot;floppy disk&quot; button or the menu &quot;File-&gt;Save project as&quot;.</translation>
    </message>
    <message>
        <source>Открыть проект</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>Проекты (*.project)</source>
        <translation>Projects (*.project)</translation>
    </message>
    <message>
        <source>Сохранить проект как</source>
        <translation>Save project as</translation>
    </message>
    <message>
        <source>Имя нового проекта</source>
        <translation>Name of the new project</translation>
    </message>
    <message>
        <source>Для компонентов нет доступных питателей на замену.</source>
        <translation>There are no replacement feeders available for the components.</translation>
    </message>
    <message>
        <source>Файл проекта не найден: </source>
        <translation>Project file not found: </translation>
    </message>
</context>
<context>
    <name>ProjectDayStatistics</name>
    <message>
        <source>Статистика по дням</source>
        <translation>Statistics by day</translation>
    </message>
    <message>
        <source>Экспорт статистики</source>
        <translation>Statistics export</translation>
    </message>
    <message>
        <source>Простая таблица (*.csv)</source>
        <translation>Simple table (*.csv)</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Плат</source>
        <translation>Boards</translation>
    </message>
    <message>
        <source>Компонентов</source>
        <translation>Components</translation>
    </message>
    <message>
        <source>Точек пайки</source>
        <translation>Solder points</translation>
    </message>
    <message>
        <source>Сбросов</source>
        <translation>Rejects</translation>
    </message>
    <message>
        <source>Время монтажа</source>
        <translation>Mounting time</translation>
    </message>
    <message>
        <source>Плат/час</source>
        <translation>Boards/hour</translation>
    </message>
    <message>
        <source>Компонентов/час</source>
        <translation>Components/hour</translation>
    </message>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>Компонент №%1</source>
        <translation>Component no. %1</translation>
    </message>
    <message>
        <source>Компонент %1 (№%2)</source>
        <translation>Component %1 (no. %2)</translation>
    </message>
    <message>
        <source>Реперный знак №%1</source>
        <translation>Reference mark no. %1</translation>
    </message>
    <message>
        <source>Точка дозирования №%1</source>
        <translation>Dispensing dot no. %1</translation>
    </message>
    <message>
        <source>%1 не загружена: неверное значение %2</source>
        <translation>%1 not loaded: invalid value %2</translation>
    </message>
    <message>
        <source>%1 не загружен: неверное значение %2</source>
        <translation>%1 not loaded: invalid value %2</translation>
    </message>
    <message>
        <source>Файл проекта повреждён: %1 = &quot;%2&quot; не является количеством; загружено найденных в файле: %3</source>
        <translation>The project file is damaged: %1 = &quot;%2&quot; is not a count; objects found in the file were loaded: %3</translation>
    </message>
    <message>
        <source>Файл проекта повреждён: %1 = %2 больше допустимого (%3); загружено найденных в файле: %4</source>
        <translation>The project file is damaged: %1 = %2 is above the limit (%3); objects found in the file were loaded: %4</translation>
    </message>
    <message>
        <source>Файл проекта повреждён: указано %1 = %2, но в файле только %3 из них; загружены имеющиеся</source>
        <translation>The project file is damaged: it gives %1 = %2, but only %3 of them are in the file; those were loaded</translation>
    </message>
    <message>
        <source>проект</source>
        <translation>project</translation>
    </message>
    <message>
        <source>позиция панели №%1</source>
        <translation>panel position no. %1</translation>
    </message>
    <message>
        <source>плата</source>
        <translation>board</translation>
    </message>
    <message>
        <source>рабочая область</source>
        <translation>work area</translation>
    </message>
    <message>
        <source>Проект не сохранён: %1, значение %2 = %3 не является конечным числом</source>
        <translation>The project was not saved: %1, value %2 = %3 is not a finite number</translation>
    </message>
    <message>
        <source>Плата: неверное значение %1, взято %2</source>
        <translation>Board: invalid value %1, %2 used instead</translation>
    </message>
    <message>
        <source>Плата: позиция панели №%1 не загружена: неверное значение %2</source>
        <translation>Board: panel position no. %1 not loaded: invalid value %2</translation>
    </message>
    <message>
        <source>Файл проекта повреждён: его значения не читаются</source>
        <translation>The project file is damaged: its values cannot be read</translation>
    </message>
</context>
<context>
    <name>ProjectImportWindow</name>
    <message>
        <source>Импорт списка компонентов (одновременно с настройкой питателей)</source>
        <translation>Component list import (setting up feeders)</translation>
    </message>
</context>
<context>
    <name>ProjectLog</name>
    <message>
        <source>Журнал проекта</source>
        <translation>Project log</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>ошибки</source>
        <translation>errors</translation>
    </message>
    <message>
        <source>предупреждения</source>
        <translation>warnings</translation>
    </message>
    <message>
        <source>остальное</source>
        <translation>other</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Записей: </source>
        <translation>Entries: </translation>
    </message>
</context>
<context>
    <name>ProjectStatistics</name>
    <message>
        <source>Статистика проекта</source>
        <translation>Project statistics</translation>
    </message>
    <message>
        <source>Плат готово:</source>
        <translation>Boards finished:</translation>
    </message>
    <message>
        <source>Компонентов установлено:</source>
        <translation>Components placed:</translation>
    </message>
    <message>
        <source>Компонентов сброшено:</source>
        <translation>Components rejected:</translation>
    </message>
    <message>
        <source>Точек пайки:</source>
        <translation>Solder points:</translation>
    </message>
    <message>
        <source>Время монтажа:</source>
        <translation>Mounting time:</translation>
    </message>
    <message>
        <source>Секундомер:</source>
        <translation>Stopwatch:</translation>
    </message>
    <message>
        <source>По дням...</source>
        <translation>By day...</translation>
    </message>
    <message>
        <source>Сбросить счётчики</source>
        <translation>Reset counters</translation>
    </message>
    <message>
        <source>Проект: </source>
        <translation>Project: </translation>
    </message>
    <message>
        <source>не открыт</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>Дата;Плат;Компонентов;Точек пайки;Сбросов;Время монтажа;Плат/час;Компонентов/час</source>
        <translation>Date;Boards;Components;Solder points;Rejects;Mounting time;Boards/hour;Components/hour</translation>
    </message>
</context>
<context>
    <name>ProposeFeederBanksOnProjectOpening</name>
    <message>
        <source>Банки питателей проекта</source>
        <translation>Feeder banks of the project</translation>
    </message>
    <message>
        <source>Открыть нижний банк питателей:</source>
        <translation>Open bottom feeder bank:</translation>
    </message>
    <message>
        <source>Открыть левый банк питателей:</source>
        <translation>Open left feeder bank:</translation>
    </message>
    <message>
        <source>Открыть верхний банк питателей:</source>
        <translation>Open upper feeder bank:</translation>
    </message>
    <message>
        <source>Открыть правый банк питателей:</source>
        <translation>Open right feeder bank:</translation>
    </message>
    <message>
        <source>В открываемом проекте использовались другие банки питателей.</source>
        <translation>The project being opened used other feeder banks.</translation>
    </message>
    <message>
        <source>Открыть проект</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PwdRequest</name>
    <message>
        <source>Введите пароль</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>Введен неверный пароль. Попробуйте еще раз.</source>
        <translation>Wrong password. Please try again.</translation>
    </message>
    <message>
        <source>Для доступа к этим настройкам требуется ввод пароля</source>
        <translation>A password is required to access these settings</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RLCSettings</name>
    <message>
        <source>Настройки измерителя RLC</source>
        <translation>RLC meter settings</translation>
    </message>
    <message>
        <source>Ошибка настройки измерителя! </source>
        <translation>Meter set-up error! </translation>
    </message>
    <message>
        <source>Результат измерения: </source>
        <translation>Measurement result: </translation>
    </message>
    <message>
        <source>Ошибка измерения! </source>
        <translation>Measurement error! </translation>
    </message>
    <message>
        <source>Использовать измеритель</source>
        <translation>Use the meter</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Точка измерения X, мм:</source>
        <translation>Measuring point X, mm:</translation>
    </message>
    <message>
        <source>Точка измерения Y, мм:</source>
        <translation>Measuring point Y, mm:</translation>
    </message>
    <message>
        <source>Высота точки измерения над платформой, мм:</source>
        <translation>Height of the measuring point above the platform, mm:</translation>
    </message>
    <message>
        <source>Проверка</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Ручная настройка</source>
        <translation>Manual set-up</translation>
    </message>
    <message>
        <source>По ожидаемому значению</source>
        <translation>By expected value</translation>
    </message>
    <message>
        <source>Последовательная</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Параллельная</source>
        <translation>Parallel</translation>
    </message>
    <message>
        <source>Измерить</source>
        <translation>Measure</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>ошибка записи: %1</source>
        <translation>write error: %1</translation>
    </message>
    <message>
        <source>записано 0 байт</source>
        <translation>0 bytes written</translation>
    </message>
    <message>
        <source>не удалось прочитать записанный файл: %1</source>
        <translation>cannot read the written file back: %1</translation>
    </message>
    <message>
        <source>временный файл подменён во время записи</source>
        <translation>the temporary file was replaced while it was being written</translation>
    </message>
    <message>
        <source>на диске %1 байт вместо %2</source>
        <translation>%1 bytes on disk instead of %2</translation>
    </message>
    <message>
        <source>записанный файл не совпадает с данными</source>
        <translation>the written file differs from the data</translation>
    </message>
    <message>
        <source>не удалось создать временный файл в папке %1: %2</source>
        <translation>cannot create a temporary file in the folder %1: %2</translation>
    </message>
    <message>
        <source>не удалось создать временный файл в папке %1</source>
        <translation>cannot create a temporary file in the folder %1</translation>
    </message>
    <message>
        <source>не задано имя файла</source>
        <translation>no file name given</translation>
    </message>
    <message>
        <source>не удалось задать права файла: %1</source>
        <translation>cannot set the file permissions: %1</translation>
    </message>
    <message>
        <source>не удалось сбросить файл на диск: %1</source>
        <translation>cannot flush the file to disk: %1</translation>
    </message>
    <message>
        <source>не удалось заменить файл: %1</source>
        <translation>cannot replace the file: %1</translation>
    </message>
    <message>
        <source>новый файл записан, но папку не удалось сбросить на диск: %1</source>
        <translation>the new file is written, but its folder could not be flushed to disk: %1</translation>
    </message>
</context>
<context>
    <name>SaveBeforeClose</name>
    <message>
        <source>Сохранить изменения?</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>Файл проекта:</source>
        <translation>Project file:</translation>
    </message>
    <message>
        <source>Файл нижнего банка питателей:</source>
        <translation>Bottom feeder bank file:</translation>
    </message>
    <message>
        <source>Файл левого банка питателей:</source>
        <translation>Left feeder bank file:</translation>
    </message>
    <message>
        <source>Файл верхнего банка питателей:</source>
        <translation>Upper feeder bank file:</translation>
    </message>
    <message>
        <source>Файл правого банка питателей:</source>
        <translation>Right feeder bank file:</translation>
    </message>
    <message>
        <source>Есть несохранённые изменения:</source>
        <translation>There are unsaved changes:</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не сохранять</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SelectFeedersForProject</name>
    <message>
        <source>Банки питателей нового проекта</source>
        <translation>Feeder banks of the new project</translation>
    </message>
    <message>
        <source>Нижний банк питателей:</source>
        <translation>Bottom feeder bank:</translation>
    </message>
    <message>
        <source>Левый банк питателей:</source>
        <translation>Left feeder bank:</translation>
    </message>
    <message>
        <source>Верхний банк питателей:</source>
        <translation>Upper feeder bank:</translation>
    </message>
    <message>
        <source>Правый банк питателей:</source>
        <translation>Right feeder bank:</translation>
    </message>
    <message>
        <source>Сохранить банки питателей в папку проекта?</source>
        <translation>Save the feeder banks into the project folder?</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Не сейчас</source>
        <translation>Not now</translation>
    </message>
</context>
<context>
    <name>SerialPortChooser</name>
    <message>
        <source>Обновить</source>
        <translation>Refresh</translation>
    </message>
</context>
<context>
    <name>SettingsIo</name>
    <message>
        <source>Настройка %1/%2: неверное значение &quot;%3&quot; в файле настроек, взято %4</source>
        <translation>Setting %1/%2: invalid value &quot;%3&quot; in the settings file, %4 taken</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Файл настроек не читается: %1. Действуют настройки по умолчанию.</source>
        <translation>The settings file cannot be read: %1. Default settings are in effect.</translation>
    </message>
    <message>
        <source>Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; копию файла сохранить не удалось.</source>
        <translation>The settings file is damaged: %1. Settings that could not be read took their defaults; the file could not be copied.</translation>
    </message>
    <message>
        <source>Файл настроек повреждён: %1. Непрочитанные настройки взяты по умолчанию; копия файла: %2</source>
        <translation>The settings file is damaged: %1. Settings that could not be read took their defaults; copy of the file: %2</translation>
    </message>
    <message>
        <source>Настройка %1/%2: неверное значение &quot;%3&quot; в файле настроек, взято %4</source>
        <translation>Setting %1/%2: invalid value &quot;%3&quot; in the settings file, %4 used instead</translation>
    </message>
    <message>
        <source>Файл настроек повреждён: %1. Его значения не читаются, отложить его не удалось; действуют настройки по умолчанию, изменения не сохранятся.</source>
        <translation>The settings file is damaged: %1. Its values cannot be read and it could not be set aside; default settings are in effect and changes will not be kept.</translation>
    </message>
    <message>
        <source>Файл настроек повреждён: %1. Его значения не читаются; файл отложен как %2, действуют настройки по умолчанию.</source>
        <translation>The settings file is damaged: %1. Its values cannot be read; the file was set aside as %2 and default settings are in effect.</translation>
    </message>
</context>
<context>
    <name>SmtInterface</name>
    <message>
        <source>Расстановка компонентов</source>
        <translation>Component placement</translation>
    </message>
    <message>
        <source>Операция</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Выполнено</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Ошибок</source>
        <translation>Errors</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Доустановить</source>
        <translation>Place the rest</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Пауза</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Начать с выбранного компонента</source>
        <translation>Start from the selected component</translation>
    </message>
    <message>
        <source>Продолжить расстановку</source>
        <translation>Continue placement</translation>
    </message>
    <message>
        <source>Установлено компонентов: </source>
        <translation>Components placed: </translation>
    </message>
    <message>
        <source>Средняя скорость: </source>
        <translation>Average rate: </translation>
    </message>
    <message>
        <source> комп./час</source>
        <translation> comp./hour</translation>
    </message>
    <message>
        <source>Время выполнения: </source>
        <translation>Run time: </translation>
    </message>
    <message>
        <source>Ускорение:</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>Закончено плат: </source>
        <translation>Boards finished: </translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Вы уверены?</source>
        <translation>Are you sure?</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Мягкая установка компонентов на плату</source>
        <translation>Soft placement of components on the board</translation>
    </message>
    <message>
        <source>Не освобождать первый компонент из ленточных питателей</source>
        <translation>Do not release the first component from tape feeders</translation>
    </message>
    <message>
        <source>Не сбрасывать в корзину</source>
        <translation>Do not drop into the basket</translation>
    </message>
    <message>
        <source>Режим отладки ленточных питателей и вибропитателей</source>
        <translation>Debug mode of tape and vibration feeders</translation>
    </message>
</context>
<context>
    <name>TapeCentring</name>
    <message>
        <source>Центрирование ленточных питателей по перфорациям</source>
        <translation>Tape feeder centring by perforations</translation>
    </message>
    <message>
        <source>Банк питателей: </source>
        <translation>Feeder bank: </translation>
    </message>
    <message>
        <source>Питатели с №</source>
        <translation>Feeders from No.</translation>
    </message>
    <message>
        <source>по №</source>
        <translation>to No.</translation>
    </message>
    <message>
        <source>Порог поиска контуров 1 (для белых лент):</source>
        <translation>Contour search threshold 1 (for white tapes):</translation>
    </message>
    <message>
        <source>Порог поиска контуров 2 (для черных лент):</source>
        <translation>Contour search threshold 2 (for black tapes):</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Начать</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Питатель №%1</source>
        <translation>Feeder No.%1</translation>
    </message>
    <message>
        <source>Откорректируйте центр взятия компонента вручную, с помощью стрелок на клавиатуре (Ctrl и стрелка: один шаг энкодера), и нажмите &quot;Указать и продолжить&quot;.</source>
        <translation>Correct the component pick centre by hand with the arrow keys (Ctrl and an arrow: one encoder step) and press &quot;Set and continue&quot;.</translation>
    </message>
    <message>
        <source>Нажмите &quot;Продолжить&quot;, чтобы искать перфорацию снова, &quot;Пропустить&quot;, чтобы перейти к следующему питателю, или &quot;Указать вручную&quot;, чтобы указать центр взятия компонента с помощью камеры.</source>
        <translation>Press &quot;Continue&quot; to search for the perforation again, &quot;Skip&quot; to go on with the next feeder, or &quot;Set manually&quot; to point at the component pick centre with the camera.</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Пропустить</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Указать вручную</source>
        <translation>Set manually</translation>
    </message>
    <message>
        <source>Указать и продолжить</source>
        <translation>Set and continue</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TemplateSource</name>
    <message>
        <source>Шаблон не загружен: %1</source>
        <translation>The template was not loaded: %1</translation>
    </message>
    <message>
        <source>Шаблон не загружен: нет источника изображений «%1»</source>
        <translation>The template was not loaded: there is no image source «%1»</translation>
    </message>
    <message>
        <source>Шаблон не загружен: изображение «%1» пусто</source>
        <translation>The template was not loaded: the picture «%1» is empty</translation>
    </message>
    <message>
        <source>Шаблон не загружен: файл «%1» не найден или не является изображением</source>
        <translation>The template was not loaded: the file «%1» is missing or is not a picture</translation>
    </message>
</context>
<context>
    <name>ToolWindowRegistry</name>
    <message>
        <source>Окно недоступно: </source>
        <translation>Window not available: </translation>
    </message>
</context>
<context>
    <name>VSSettings</name>
    <message>
        <source>Настройка датчика разрежения</source>
        <translation>Vacuum sensor set-up</translation>
    </message>
    <message>
        <source>Ошибка связи с датчиком! </source>
        <translation>Sensor connection error! </translation>
    </message>
    <message>
        <source>Ошибка измерения! </source>
        <translation>Measurement error! </translation>
    </message>
    <message>
        <source>Результат измерения: </source>
        <translation>Measurement result: </translation>
    </message>
    <message>
        <source> кПа</source>
        <translation> kPa</translation>
    </message>
    <message>
        <source>Использовать датчик разрежения</source>
        <translation>Use the vacuum sensor</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Запустить</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Длительность
выдува, мс:</source>
        <translation>Blow-off
length, ms:</translation>
    </message>
    <message>
        <source>Контроль:</source>
        <translation>Check:</translation>
    </message>
    <message>
        <source>по порогу разрежения</source>
        <translation>by vacuum threshold</translation>
    </message>
    <message>
        <source>по разности разрежения</source>
        <translation>by vacuum difference</translation>
    </message>
    <message>
        <source>Насадка</source>
        <translation>Nozzle</translation>
    </message>
    <message>
        <source>Проверять</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>Порог, кПа</source>
        <translation>Threshold, kPa</translation>
    </message>
    <message>
        <source>Разность, кПа</source>
        <translation>Difference, kPa</translation>
    </message>
    <message>
        <source>Проверка засора</source>
        <translation>Clogging check</translation>
    </message>
    <message>
        <source>Насадка </source>
        <translation>Nozzle </translation>
    </message>
</context>
<context>
    <name>VibroFeedersSettings</name>
    <message>
        <source>Настройки вибропитателей</source>
        <translation>Vibration feeder settings</translation>
    </message>
    <message>
        <source>Вибропитатель:</source>
        <translation>Vibration feeder:</translation>
    </message>
    <message>
        <source>ШИМ</source>
        <translation>PWM</translation>
    </message>
    <message>
        <source>Задается G-кодом</source>
        <translation>Set by G-code</translation>
    </message>
    <message>
        <source>Частота:</source>
        <translation>Frequency:</translation>
    </message>
    <message>
        <source> Гц</source>
        <translation> Hz</translation>
    </message>
    <message>
        <source>Коэффициент заполнения:</source>
        <translation>Duty cycle:</translation>
    </message>
    <message>
        <source>Длительность вибрации, с:</source>
        <translation>Vibration length, s:</translation>
    </message>
    <message>
        <source>Проверить</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Вибрация...</source>
        <translation>Vibrating...</translation>
    </message>
</context>
<context>
    <name>WarmUpRun</name>
    <message>
        <source>Прогонка невозможна: границы рабочей зоны или скорости осей не известны</source>
        <translation>The warm-up cannot run: the work area limits or the axis speeds are not known</translation>
    </message>
    <message>
        <source>Прогонка аппарата начата</source>
        <translation>Machine warm-up started</translation>
    </message>
    <message>
        <source>Прогонка аппарата выполнена</source>
        <translation>Machine warm-up done</translation>
    </message>
    <message>
        <source>Прогонка аппарата остановлена</source>
        <translation>Machine warm-up stopped</translation>
    </message>
</context>
<context>
    <name>Worker</name>
    <message>
        <source>Не удалось сохранить картинку отклонений рабочего поля: %1</source>
        <translation>Could not save the work field deviation picture: %1</translation>
    </message>
    <message>
        <source>Права пользователя для приложения заданы неправильно!</source>
        <translation>User permissions for the application are set incorrectly!</translation>
    </message>
    <message>
        <source>Не удалось записать файл настроек: %1</source>
        <translation>Failed to write settings file: %1</translation>
    </message>
    <message>
        <source>Файл настроек питателей не найден! Путь к файлу:</source>
        <translation>Feeder settings file not found! File path:</translation>
    </message>
    <message>
        <source>Расширение открываемого файла не поддерживается!</source>
        <translation>The extension of the file is not supported!</translation>
    </message>
    <message>
        <source>Ошибка чтения из файла настроек питателей! Путь к файлу:</source>
        <translation>Error reading the feeder settings file! File path:</translation>
    </message>
    <message>
        <source>В файле настроек питателей указано недопустимое количество питателей (%1, допустимо от 0 до %2). Файл не открыт: </source>
        <translation>The feeder settings file gives an impossible number of feeders (%1, allowed 0 to %2). The file was not opened: </translation>
    </message>
    <message>
        <source>Ошибка записи в файл настроек питателей! Путь к файлу:</source>
        <translation>Error writing the feeder settings file! File path:</translation>
    </message>
    <message>
        <source>В базе найдены одинаковые корпуса с именем: </source>
        <translation>The package base holds packages with the same name: </translation>
    </message>
    <message>
        <source>Не удалось записать файл базы корпусов: %1</source>
        <translation>Failed to write the package base file: %1</translation>
    </message>
    <message>
        <source>В базе не найдено новых корпусов.</source>
        <translation>No new packages found in the base.</translation>
    </message>
    <message>
        <source>Количество новых корпусов в базе:</source>
        <translation>New packages in the base: </translation>
    </message>
    <message>
        <source>.
Он</source>
        <translation>.
Find the new package</translation>
    </message>
    <message>
        <source>и</source>
        <translation>s</translation>
    </message>
    <message>
        <source> в конце списка.</source>
        <translation> at the end of the list.</translation>
    </message>
    <message>
        <source>Не указан файл проекта для сохранения.</source>
        <translation>No project file given to save to.</translation>
    </message>
    <message>
        <source>Не удалось сохранить проект в файл: </source>
        <translation>Failed to save the project to the file: </translation>
    </message>
    <message>
        <source>Файл проекта не найден: </source>
        <translation>Project file not found: </translation>
    </message>
    <message>
        <source>Не удалось загрузить файл изображения платы:</source>
        <translation>Failed to load the board picture file:</translation>
    </message>
    <message>
        <source>Компонент %1 не загружен: корпус &quot;%2&quot; не найден в базе корпусов (X %3, Y %4)</source>
        <translation>Component %1 not loaded: package &quot;%2&quot; is not in the package base (X %3, Y %4)</translation>
    </message>
    <message>
        <source>Часть объектов проекта не загружена (%1). Список — в окне ошибок. Если сохранить проект, они будут потеряны.</source>
        <translation>Some objects of the project were not loaded (%1). The list is in the error window. Saving the project will lose them.</translation>
    </message>
    <message>
        <source>Сканирование платы не начато</source>
        <translation>The board scan has not been started</translation>
    </message>
    <message>
        <source>Не удалось найти файл!</source>
        <translation>File not found!</translation>
    </message>
    <message>
        <source>Не удалось открыть файл!</source>
        <translation>Failed to open the file!</translation>
    </message>
    <message>
        <source>Импортировано записей: %1.
Типов компонентов: %2.</source>
        <translation>Records imported: %1.
Kinds of components: %2.</translation>
    </message>
    <message>
        <source>Не удалось записать в файл!</source>
        <translation>Failed to write the file!</translation>
    </message>
    <message>
        <source>Экспорт завершен. Экспортировано строк: %1</source>
        <translation>Export finished. Lines exported: %1</translation>
    </message>
    <message>
        <source>Экспорт завершен. Экспортировано записей: %1</source>
        <translation>Export finished. Records exported: %1</translation>
    </message>
    <message>
        <source>Ошибка при сохранении настроек в ini-файл</source>
        <translation>Error while saving the settings to the ini file</translation>
    </message>
    <message>
        <source>Данные калибровки рабочего поля неполны (%1 точек вместо %2 x %3)!</source>
        <translation>Work field calibration data are incomplete (%1 points instead of %2 x %3)!</translation>
    </message>
    <message>
        <source>Не удалось записать калибровочный файл рабочего поля аппарата: </source>
        <translation>Could not write the machine work field calibration file: </translation>
    </message>
    <message>
        <source>Не удалось открыть калибровочный файл рабочего поля аппарата!</source>
        <translation>Could not open the machine work field calibration file!</translation>
    </message>
    <message>
        <source>Размеры рабочего поля (%1 x %2 мм) вне допустимых пределов 100...1996 мм, калибровка рабочего поля не применяется!</source>
        <translation>The work field size (%1 x %2 mm) is outside the allowed 100...1996 mm; the work field calibration is not applied!</translation>
    </message>
    <message>
        <source>Часть значений в файле питателей неверна (%1) и заменена значениями по умолчанию. Список — в окне ошибок. Если сохранить банк, они будут записаны в файл. Путь к файлу:</source>
        <translation>Some values of the feeder file are invalid (%1) and were replaced by defaults. The list is in the error window. Saving the bank will write them to the file. File path:</translation>
    </message>
    <message>
        <source>Часть значений базы корпусов неверна (%1); взяты значения по умолчанию. Список — в окне ошибок. Если сохранить базу корпусов, они будут записаны в файл.</source>
        <translation>Some values of the package base are invalid (%1); defaults were used. The list is in the error window. Saving the package base will write them to the file.</translation>
    </message>
    <message>
        <source>Часть значений в файле настроек неверна (%1); взяты значения по умолчанию. Список — в окне ошибок. Файл: %2</source>
        <translation>Some values of the settings file are invalid (%1); defaults were used. The list is in the error window. File: %2</translation>
    </message>
    <message>
        <source>Настройка %1/%2 не записана: значение не является конечным числом</source>
        <translation>Setting %1/%2 was not written: the value is not a finite number</translation>
    </message>
    <message>
        <source>Файл проекта повреждён: его значения не читаются. Проект не открыт: </source>
        <translation>The project file is damaged: its values cannot be read. The project was not opened: </translation>
    </message>
    <message>
        <source>Файл базы корпусов повреждён: его значения не читаются; он не изменён: %1</source>
        <translation>The package base file is damaged: its values cannot be read; it was left unchanged: %1</translation>
    </message>
    <message>
        <source>Имитатор камеры не смог показать плату проекта: описание платы неверно.</source>
        <translation>The camera simulator could not show the project&apos;s board: the board description is invalid.</translation>
    </message>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>Фото компонента питателя №%1 (%2) не загружено: %3</source>
        <translation>The component photo of feeder no. %1 (%2) was not loaded: %3</translation>
    </message>
    <message>
        <source>Недопустимый масштабный коэффициент (%1) X: %2, Y: %3. Ini-файл не изменен.</source>
        <translation>Invalid scale (%1) X: %2, Y: %3. The ini file is not changed.</translation>
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
    <message>
        <source>Блок G-кода не принят: выполняется предыдущий блок. Не принят: &quot;%1&quot;</source>
        <translation>G-code block refused: the previous block is still running. Refused: &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>WorkerProgrammer</name>
    <message>
        <source>Ошибка скрипта программатора:
</source>
        <translation>Programmer script error:
</translation>
    </message>
    <message>
        <source>
Код ошибки: %1</source>
        <translation>
Error code: %1</translation>
    </message>
</context>
<context>
    <name>WorkerRLC</name>
    <message>
        <source>Ошибка открытия порта: </source>
        <translation>Cannot open the port: </translation>
    </message>
    <message>
        <source>Нет ответа от измерителя.</source>
        <translation>No answer from the meter.</translation>
    </message>
    <message>
        <source>Измеритель отклонил настройку.</source>
        <translation>The meter refused the set-up.</translation>
    </message>
    <message>
        <source>Слишком долгая подстройка диапазона.</source>
        <translation>The range took too long to settle.</translation>
    </message>
    <message>
        <source>Переполнение шкалы</source>
        <translation>Over range</translation>
    </message>
    <message>
        <source>Некорректный ответ измерителя: </source>
        <translation>Invalid answer from the meter: </translation>
    </message>
</context>
<context>
    <name>WorkerVS</name>
    <message>
        <source>Нет ответа от датчика.</source>
        <translation>No answer from the sensor.</translation>
    </message>
    <message>
        <source>Нет ответа от датчика разрежения! Возможно выбран не тот порт!</source>
        <translation>No answer from the vacuum sensor! Perhaps the wrong port is chosen!</translation>
    </message>
    <message>
        <source>Датчик разрежения: ошибка открытия порта: </source>
        <translation>Vacuum sensor: cannot open the port: </translation>
    </message>
    <message>
        <source>Получено некорректное значение с датчика! </source>
        <translation>Invalid value received from the sensor! </translation>
    </message>
</context>
<context>
    <name>aoi</name>
    <message>
        <source>Отличия: </source>
        <translation>Differences: </translation>
    </message>
    <message>
        <source>Проверьте расстановку реперных знаков!</source>
        <translation>Check the reference marks!</translation>
    </message>
    <message>
        <source>Все платы исключены из расстановки!</source>
        <translation>All boards are excluded from placement!</translation>
    </message>
    <message>
        <source>Не для всех элементов созданы проверочные шаблоны! Нужно заново создать шаблоны.</source>
        <translation>Not all components have inspection templates! Create the templates again.</translation>
    </message>
    <message>
        <source>Не для всех элементов корректны размеры проверочных шаблонов! Нужно заново создать шаблоны.</source>
        <translation>Not all components have inspection templates of the right size! Create the templates again.</translation>
    </message>
    <message>
        <source>Камера не дала снимок: инспекция остановлена</source>
        <translation>The camera gave no photo: inspection stopped</translation>
    </message>
    <message>
        <source>не выполнено</source>
        <translation>not done</translation>
    </message>
    <message>
        <source>Неверные координаты перемещения камеры: перемещение не выполнено</source>
        <translation>Invalid camera move coordinates: the move was not made</translation>
    </message>
    <message>
        <source>выполнено</source>
        <translation>done</translation>
    </message>
    <message>
        <source>прервано</source>
        <translation>interrupted</translation>
    </message>
</context>
<context>
    <name>boardCorrection</name>
    <message>
        <source>Неверные координаты реперного знака: коррекция положения платы невозможна</source>
        <translation>Invalid reference mark coordinates: the board position cannot be corrected</translation>
    </message>
    <message>
        <source>Реперный знак %1 не измерен: коррекция положения платы невозможна</source>
        <translation>Reference mark %1 has not been measured: the board position cannot be corrected</translation>
    </message>
    <message>
        <source>Реперный знак %1 не найден: коррекция положения платы невозможна</source>
        <translation>Reference mark %1 was not found: the board position cannot be corrected</translation>
    </message>
    <message>
        <source>Реперные знаки %1 и %2 расположены ближе 1 мм друг к другу: коррекция положения платы невозможна</source>
        <translation>Reference marks %1 and %2 are less than 1 mm apart: the board position cannot be corrected</translation>
    </message>
    <message>
        <source>Реперные знаки найдены ближе 1 мм друг к другу (%1 и %2): проверьте настройки распознавания реперных знаков</source>
        <translation>The reference marks were found less than 1 mm apart (%1 and %2): check the reference mark recognition settings</translation>
    </message>
    <message>
        <source>Масштаб платы по реперным знакам равен %1, допустимо от 0.99 до 1.01: проверьте положение реперных знаков</source>
        <translation>The board scale measured on the reference marks is %1, allowed from 0.99 to 1.01: check the reference mark positions</translation>
    </message>
    <message>
        <source>Неверные данные компонента: координаты установки не вычислены</source>
        <translation>Invalid component data: the placement coordinates were not computed</translation>
    </message>
    <message>
        <source>Неверные координаты точки: нанесение невозможно</source>
        <translation>Invalid dot coordinates: the dot cannot be dispensed</translation>
    </message>
</context>
<context>
    <name>calibrationMark</name>
    <message>
        <source>Неверные координаты перемещения камеры: перемещение не выполнено</source>
        <translation>Invalid camera move coordinates: the move was not made</translation>
    </message>
    <message>
        <source>Неизвестны скорости осей или координаты калибровочного знака</source>
        <translation>The axis speeds or the calibration mark coordinates are unknown</translation>
    </message>
    <message>
        <source>Калибровочный знак не найден</source>
        <translation>The calibration mark was not found</translation>
    </message>
    <message>
        <source>Не удалось навести камеру на калибровочный знак за %1 перемещений</source>
        <translation>The camera could not be centred on the calibration mark in %1 moves</translation>
    </message>
    <message>
        <source>Калибровочный знак смещен на X: %1 Y: %2 мм, допустимо не более %3 мм</source>
        <translation>The calibration mark is off by X: %1 Y: %2 mm, at most %3 mm is allowed</translation>
    </message>
    <message>
        <source>Ошибка при поиске калибровочного знака!</source>
        <translation>Error while searching for the calibration mark!</translation>
    </message>
    <message>
        <source>Калибровочный знак не найден!</source>
        <translation>Calibration mark not found!</translation>
    </message>
    <message>
        <source>Калибровочный знак смещен по оси X! Обратитесь в службу поддержки.</source>
        <translation>The calibration mark is shifted in X! Contact the support service.</translation>
    </message>
    <message>
        <source>Скорее всего, произошел перескок ремня! Обратитесь к руководству по эксплуатации установщика.</source>
        <translation>A belt has most likely skipped a tooth! See the operating manual of the machine.</translation>
    </message>
    <message>
        <source>Калибровочный знак смещен на </source>
        <translation>The calibration mark is shifted by </translation>
    </message>
    <message>
        <source>мм. Натяжение ремней оси Y некорректно. Оси X и Y неперпендикулярны!</source>
        <translation> mm. The Y axis belt tension is wrong. The X and Y axes are not perpendicular!</translation>
    </message>
</context>
<context>
    <name>cameraAutoCalibration</name>
    <message>
        <source>Не удалось найти калибровочный объект. Попробуйте изменить порог поиска контуров верхней камеры.</source>
        <translation>The calibration object was not found. Try changing the contour threshold of the head camera.</translation>
    </message>
    <message>
        <source>Не удалось найти калибровочный объект. Попробуйте изменить порог поиска контуров нижней камеры.</source>
        <translation>The calibration object was not found. Try changing the contour threshold of the component camera.</translation>
    </message>
    <message>
        <source>Не удалось найти установленный калибровочный объект. Калибровка выполнена не полностью! Попробуйте изменить порог поиска контуров верхней камеры.</source>
        <translation>The calibration object put back was not found. The calibration is not complete! Try changing the contour threshold of the head camera.</translation>
    </message>
    <message>
        <source>Неверное число в G-коде калибровки: калибровка остановлена</source>
        <translation>Invalid number in the calibration G-code: calibration stopped</translation>
    </message>
</context>
<context>
    <name>checkTable</name>
    <message>
        <source>не найден</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>средн. dX: </source>
        <translation>mean dX: </translation>
    </message>
    <message>
        <source>; dY: </source>
        <translation>; dY: </translation>
    </message>
</context>
<context>
    <name>component</name>
    <message>
        <source>Питатель: </source>
        <translation>Feeder: </translation>
    </message>
    <message>
        <source> Кол-во: </source>
        <translation> Qty: </translation>
    </message>
    <message>
        <source>не выполнено</source>
        <translation>not done</translation>
    </message>
    <message>
        <source>Питатель не найден: </source>
        <translation>Feeder not found: </translation>
    </message>
    <message>
        <source>Компонент не установлен, потому что не были просканированы соответствующие реперные знаки</source>
        <translation>The component was not placed because its reference marks were not scanned</translation>
    </message>
    <message>
        <source>Неверное число рядов поддона: взятие не выполнено</source>
        <translation>Invalid number of tray rows: the pick was not made</translation>
    </message>
    <message>
        <source>Неверный шаг или концы отрезка ленты: взятие не выполнено</source>
        <translation>Invalid pitch or ends of the tape strip: the pick was not made</translation>
    </message>
    <message>
        <source>Жду замены/пополнения поддона! Остановка! Питатель: </source>
        <translation>Waiting for the tray to be replaced or refilled! Stopped! Feeder: </translation>
    </message>
    <message>
        <source>Жду замены/пополнения отрезка ленты! Остановка! Питатель: </source>
        <translation>Waiting for the tape strip to be replaced or refilled! Stopped! Feeder: </translation>
    </message>
    <message>
        <source> пропущен оператором.</source>
        <translation> skipped by the operator.</translation>
    </message>
    <message>
        <source>Насадка №%1 не настроена: взятие не выполнено</source>
        <translation>Nozzle #%1 is not set up: the pick was not made</translation>
    </message>
    <message>
        <source>Проверка размера не пройдена!</source>
        <translation>Size check failed!</translation>
    </message>
    <message>
        <source>Перемещение для центрирования компонента выходит за допустимые границы!</source>
        <translation>The centring move of the component goes beyond the permitted limits!</translation>
    </message>
    <message>
        <source>Неверное число в G-коде центрирования компонента: центрирование не выполнено</source>
        <translation>Invalid number in the G-code of the component centring: the centring was not done</translation>
    </message>
    <message>
        <source>Неверные размеры или угол компонента: центрирование по углам не выполнено</source>
        <translation>Invalid sizes or angle of the component: centring by corners was not done</translation>
    </message>
    <message>
        <source>Несколько ошибок распознавания подряд! Пропускаю питатель: </source>
        <translation>Several recognition errors in a row! Skipping the feeder: </translation>
    </message>
    <message>
        <source>Несколько ошибок распознавания подряд! Остановка программы!</source>
        <translation>Several recognition errors in a row! Program stopped!</translation>
    </message>
    <message>
        <source>Ошибка распознавания компонента из питателя </source>
        <translation>Could not recognise the component from feeder </translation>
    </message>
    <message>
        <source>. Сброс в корзину.</source>
        <translation>. Dropped into the basket.</translation>
    </message>
    <message>
        <source>Неверные данные компонента: координаты установки не вычислены</source>
        <translation>Invalid component data: the placement coordinates were not computed</translation>
    </message>
    <message>
        <source>Неверное число в G-коде установки компонента: установка не выполнена</source>
        <translation>Invalid number in the placement G-code: the component was not placed</translation>
    </message>
    <message>
        <source>Ошибка связи с датчиком разрежения!</source>
        <translation>Vacuum sensor communication error!</translation>
    </message>
    <message>
        <source>До взятия: </source>
        <translation>Before the pick: </translation>
    </message>
    <message>
        <source>кПа, после: </source>
        <translation>kPa, after: </translation>
    </message>
    <message>
        <source>кПа, разница: </source>
        <translation>kPa, difference: </translation>
    </message>
    <message>
        <source>кПа, порог: </source>
        <translation>kPa, threshold: </translation>
    </message>
    <message>
        <source>кПа.</source>
        <translation>kPa.</translation>
    </message>
    <message>
        <source>Измерено: </source>
        <translation>Measured: </translation>
    </message>
    <message>
        <source>Ошибка по датчику разрежения! Питатель: </source>
        <translation>Vacuum sensor error! Feeder: </translation>
    </message>
    <message>
        <source>Несколько ошибок по датчику разрежения подряд! Пропускаю питатель: </source>
        <translation>Several vacuum sensor errors in a row! Skipping the feeder: </translation>
    </message>
    <message>
        <source>Сброс в корзину. Питатель: </source>
        <translation>Dropped into the basket. Feeder: </translation>
    </message>
    <message>
        <source>Несколько ошибок распознавания подряд! Переключаюсь на питатель: </source>
        <translation>Several recognition errors in a row! Switching to feeder: </translation>
    </message>
</context>
<context>
    <name>componentChecks</name>
    <message>
        <source> A ожидаемый: </source>
        <translation> A expected: </translation>
    </message>
    <message>
        <source>мм, измеренный: </source>
        <translation>mm, measured: </translation>
    </message>
    <message>
        <source>мм.</source>
        <translation>mm.</translation>
    </message>
    <message>
        <source> B ожидаемый: </source>
        <translation> B expected: </translation>
    </message>
</context>
<context>
    <name>componentInstruments</name>
    <message>
        <source>Неверные настройки проверки номинала питателя: проверка не выполнена</source>
        <translation>Invalid value check settings of the feeder: the check was not made</translation>
    </message>
    <message>
        <source>Результат измерения: </source>
        <translation>Measurement result: </translation>
    </message>
    <message>
        <source>, Минимально допустимое значение: </source>
        <translation>, Lowest allowed value: </translation>
    </message>
    <message>
        <source>, Максимально допустимое значение: </source>
        <translation>, Highest allowed value: </translation>
    </message>
    <message>
        <source>Неверное число в G-коде перемещения к измерителю RLC: проверка не выполнена</source>
        <translation>Invalid number in the G-code of the move to the RLC meter: the check was not made</translation>
    </message>
    <message>
        <source>Неверные координаты программатора: программирование не выполнено</source>
        <translation>Invalid programmer coordinates: the part was not programmed</translation>
    </message>
    <message>
        <source>Неверное число в G-коде программирования: программирование не выполнено</source>
        <translation>Invalid number in the programming G-code: the part was not programmed</translation>
    </message>
    <message>
        <source>Код ошибки: </source>
        <translation>Error code: </translation>
    </message>
</context>
<context>
    <name>deviceSettings</name>
    <message>
        <source>Рабочее поле и скорости</source>
        <translation>Work area and speeds</translation>
    </message>
    <message>
        <source>Рабочее поле по X, мм:</source>
        <translation>Work area in X, mm:</translation>
    </message>
    <message>
        <source>Рабочее поле по Y, мм:</source>
        <translation>Work area in Y, mm:</translation>
    </message>
    <message>
        <source>Нижняя граница по Z, мм:</source>
        <translation>Lower Z limit, mm:</translation>
    </message>
    <message>
        <source>Верхняя граница по Z (безопасная высота), мм:</source>
        <translation>Upper Z limit (safe height), mm:</translation>
    </message>
    <message>
        <source>Начало области платы по X, мм:</source>
        <translation>Board area start in X, mm:</translation>
    </message>
    <message>
        <source>Начало области платы по Y, мм:</source>
        <translation>Board area start in Y, mm:</translation>
    </message>
    <message>
        <source>Наибольшая ширина платы, мм:</source>
        <translation>Largest board width, mm:</translation>
    </message>
    <message>
        <source>Наибольшая высота платы, мм:</source>
        <translation>Largest board height, mm:</translation>
    </message>
    <message>
        <source>Наименьшая высота над компонентами платы, мм:</source>
        <translation>Smallest height above the board&apos;s components, mm:</translation>
    </message>
    <message>
        <source>Снижать высоту перемещения над платой</source>
        <translation>Lower the travel height above the board</translation>
    </message>
    <message>
        <source>Максимальная скорость при ручном перемещении по x,y:</source>
        <translation>Maximum speed of manual moves in x,y:</translation>
    </message>
    <message>
        <source>Максимальная скорость при ручном перемещении по z:</source>
        <translation>Maximum speed of manual moves in z:</translation>
    </message>
    <message>
        <source>Медленный захват и установка компонентов</source>
        <translation>Slow pick and placement of components</translation>
    </message>
    <message>
        <source>Скорость медленного захвата и установки, мм/мин:</source>
        <translation>Speed of slow pick and placement, mm/min:</translation>
    </message>
    <message>
        <source>Вращать ось B при удержании кнопки старта</source>
        <translation>Turn axis B while the start key is held</translation>
    </message>
    <message>
        <source>Вращать ось C при удержании кнопки старта</source>
        <translation>Turn axis C while the start key is held</translation>
    </message>
    <message>
        <source>Калибровка и реперы</source>
        <translation>Calibration and reference marks</translation>
    </message>
    <message>
        <source>Калибровать машину после запуска LinuxCNC</source>
        <translation>Calibrate the machine after LinuxCNC starts</translation>
    </message>
    <message>
        <source>Использовать калибровочный знак</source>
        <translation>Use the calibration mark</translation>
    </message>
    <message>
        <source>Калибровочный знак, X, мм:</source>
        <translation>Calibration mark, X, mm:</translation>
    </message>
    <message>
        <source>Калибровочный знак, Y, мм:</source>
        <translation>Calibration mark, Y, mm:</translation>
    </message>
    <message>
        <source>Использовать второй калибровочный знак</source>
        <translation>Use the second calibration mark</translation>
    </message>
    <message>
        <source>Второй калибровочный знак, X, мм:</source>
        <translation>Second calibration mark, X, mm:</translation>
    </message>
    <message>
        <source>Второй калибровочный знак, Y, мм:</source>
        <translation>Second calibration mark, Y, mm:</translation>
    </message>
    <message>
        <source>Форма знака (0 — круг, 1 — квадрат):</source>
        <translation>Mark shape (0 = circle, 1 = square):</translation>
    </message>
    <message>
        <source>Размер знака, мм:</source>
        <translation>Mark size, mm:</translation>
    </message>
    <message>
        <source>Размер второго знака, мм:</source>
        <translation>Second mark size, mm:</translation>
    </message>
    <message>
        <source>Область поиска знака, %:</source>
        <translation>Mark search area, %:</translation>
    </message>
    <message>
        <source>Порог распознавания знака 1:</source>
        <translation>Mark recognition threshold 1:</translation>
    </message>
    <message>
        <source>Порог распознавания знака 2:</source>
        <translation>Mark recognition threshold 2:</translation>
    </message>
    <message>
        <source>Инвертировать изображение знака</source>
        <translation>Invert the mark image</translation>
    </message>
    <message>
        <source>Разрешить работу без реперных знаков</source>
        <translation>Allow runs without reference marks</translation>
    </message>
    <message>
        <source>Проверка насадки</source>
        <translation>Nozzle check</translation>
    </message>
    <message>
        <source>Проверять наличие насадки на голове</source>
        <translation>Check that a nozzle is on the head</translation>
    </message>
    <message>
        <source>Точка проверки, X, мм (-1 — не задана):</source>
        <translation>Check point, X, mm (-1 = not set):</translation>
    </message>
    <message>
        <source>Точка проверки, Y, мм (-1 — не задана):</source>
        <translation>Check point, Y, mm (-1 = not set):</translation>
    </message>
    <message>
        <source>Точка проверки, Z, мм:</source>
        <translation>Check point, Z, mm:</translation>
    </message>
    <message>
        <source>Точка проверки совпадает с калибровочным знаком</source>
        <translation>Check point is the calibration mark</translation>
    </message>
    <message>
        <source>Скорость проверки по X, Y, %:</source>
        <translation>Check speed in X, Y, %:</translation>
    </message>
    <message>
        <source>Скорость проверки по Z, %:</source>
        <translation>Check speed in Z, %:</translation>
    </message>
    <message>
        <source>Камеры</source>
        <translation>Cameras</translation>
    </message>
    <message>
        <source>Смещение камеры на голове от насадки по X, мм:</source>
        <translation>Head camera offset from the nozzle in X, mm:</translation>
    </message>
    <message>
        <source>Смещение камеры на голове от насадки по Y, мм:</source>
        <translation>Head camera offset from the nozzle in Y, mm:</translation>
    </message>
    <message>
        <source>Камера на голове, пикселей на мм:</source>
        <translation>Head camera, pixels per mm:</translation>
    </message>
    <message>
        <source>Задержка перед снимком камеры на голове, мс:</source>
        <translation>Head camera delay before a frame, ms:</translation>
    </message>
    <message>
        <source>Задержка перед снимком при оптической инспекции, мс:</source>
        <translation>Delay before a frame in optical inspection, ms:</translation>
    </message>
    <message>
        <source>Показывать камеру на голове при поиске реперов</source>
        <translation>Show the head camera while searching reference marks</translation>
    </message>
    <message>
        <source>Камера корректировки, X, мм:</source>
        <translation>Component camera, X, mm:</translation>
    </message>
    <message>
        <source>Камера корректировки, Y, мм:</source>
        <translation>Component camera, Y, mm:</translation>
    </message>
    <message>
        <source>Высота камеры корректировки, мм:</source>
        <translation>Component camera height, mm:</translation>
    </message>
    <message>
        <source>Наименьшая высота над камерой корректировки, мм:</source>
        <translation>Smallest height above the component camera, mm:</translation>
    </message>
    <message>
        <source>Камера корректировки, пикселей на мм:</source>
        <translation>Component camera, pixels per mm:</translation>
    </message>
    <message>
        <source>Расстояние, для которого задано число пикселей на мм, мм:</source>
        <translation>Distance at which the pixels per mm apply, mm:</translation>
    </message>
    <message>
        <source>Задержка перед снимком камеры корректировки, мс:</source>
        <translation>Component camera delay before a frame, ms:</translation>
    </message>
    <message>
        <source>Порог распознавания компонента 1:</source>
        <translation>Component recognition threshold 1:</translation>
    </message>
    <message>
        <source>Порог распознавания компонента 2:</source>
        <translation>Component recognition threshold 2:</translation>
    </message>
    <message>
        <source>Наибольший компонент для камеры корректировки, мм:</source>
        <translation>Largest component for the component camera, mm:</translation>
    </message>
    <message>
        <source>Поправка установки по X, мм:</source>
        <translation>Placement correction in X, mm:</translation>
    </message>
    <message>
        <source>Поправка установки по Y, мм:</source>
        <translation>Placement correction in Y, mm:</translation>
    </message>
    <message>
        <source>G-код</source>
        <translation>G-code</translation>
    </message>
    <message>
        <source>В начале работы:</source>
        <translation>At the start of a run:</translation>
    </message>
    <message>
        <source>В конце работы:</source>
        <translation>At the end of a run:</translation>
    </message>
    <message>
        <source>Сброс в корзину:</source>
        <translation>Drop into the basket:</translation>
    </message>
    <message>
        <source>Кончились компоненты:</source>
        <translation>Components ran out:</translation>
    </message>
    <message>
        <source>Перед камерой корректировки:</source>
        <translation>Before the component camera:</translation>
    </message>
    <message>
        <source>После камеры корректировки:</source>
        <translation>After the component camera:</translation>
    </message>
    <message>
        <source>Перед третьей камерой:</source>
        <translation>Before the third camera:</translation>
    </message>
    <message>
        <source>После третьей камеры:</source>
        <translation>After the third camera:</translation>
    </message>
    <message>
        <source>К первому калибровочному знаку:</source>
        <translation>To the first calibration mark:</translation>
    </message>
    <message>
        <source>Ко второму калибровочному знаку:</source>
        <translation>To the second calibration mark:</translation>
    </message>
    <message>
        <source>После калибровки:</source>
        <translation>After calibration:</translation>
    </message>
    <message>
        <source>Питатели</source>
        <translation>Feeders</translation>
    </message>
    <message>
        <source>Банк питателей слева</source>
        <translation>Left feeder bank</translation>
    </message>
    <message>
        <source>Банк питателей справа</source>
        <translation>Right feeder bank</translation>
    </message>
    <message>
        <source>Банк питателей сверху</source>
        <translation>Top feeder bank</translation>
    </message>
    <message>
        <source>Банк питателей снизу</source>
        <translation>Bottom feeder bank</translation>
    </message>
    <message>
        <source>Задержка после включения и выключения вакуума, с:</source>
        <translation>Delay after vacuum on and off, s:</translation>
    </message>
    <message>
        <source>При ошибках переключаться на равноценный питатель</source>
        <translation>On errors switch to an equivalent feeder</translation>
    </message>
    <message>
        <source>Переключаться на равноценный питатель, когда россыпь пуста</source>
        <translation>Switch to an equivalent feeder when the loose parts run out</translation>
    </message>
    <message>
        <source>Не останавливать работу при ошибках питателя (пропускать питатель)</source>
        <translation>Do not stop the run on feeder errors (skip the feeder)</translation>
    </message>
    <message>
        <source>Дозатор</source>
        <translation>Dispenser</translation>
    </message>
    <message>
        <source>Смещение дозатора 1 по X, мм:</source>
        <translation>Dispenser 1 offset in X, mm:</translation>
    </message>
    <message>
        <source>Смещение дозатора 1 по Y, мм:</source>
        <translation>Dispenser 1 offset in Y, mm:</translation>
    </message>
    <message>
        <source>Смещение дозатора 2 по X, мм:</source>
        <translation>Dispenser 2 offset in X, mm:</translation>
    </message>
    <message>
        <source>Смещение дозатора 2 по Y, мм:</source>
        <translation>Dispenser 2 offset in Y, mm:</translation>
    </message>
    <message>
        <source>Цвет точек дозатора 1:</source>
        <translation>Dot colour of dispenser 1:</translation>
    </message>
    <message>
        <source>Цвет точек дозатора 2:</source>
        <translation>Dot colour of dispenser 2:</translation>
    </message>
    <message>
        <source>Работа программы</source>
        <translation>Program behaviour</translation>
    </message>
    <message>
        <source>Запускать LinuxCNC при старте программы</source>
        <translation>Start LinuxCNC when the program starts</translation>
    </message>
    <message>
        <source>Файл конфигурации LinuxCNC:</source>
        <translation>LinuxCNC configuration file:</translation>
    </message>
    <message>
        <source>Открывать прямое управление при запуске LinuxCNC</source>
        <translation>Open direct control when LinuxCNC starts</translation>
    </message>
    <message>
        <source>Повторять программу расстановки автоматически</source>
        <translation>Repeat the placement program automatically</translation>
    </message>
    <message>
        <source>«%1»: нужен цвет вида #RRGGBB</source>
        <translation>“%1”: a colour like #RRGGBB is needed</translation>
    </message>
    <message>
        <source>«%1»: введите число</source>
        <translation>“%1”: enter a number</translation>
    </message>
    <message>
        <source>«%1»: нужно целое число</source>
        <translation>“%1”: a whole number is needed</translation>
    </message>
    <message>
        <source>«%1»: допустимо от %2 до %3</source>
        <translation>“%1”: allowed from %2 to %3</translation>
    </message>
    <message>
        <source>Разрешить компоненты за границей области расстановки</source>
        <translation>Allow components outside the placement area</translation>
    </message>
    <message>
        <source>Проверка размера компонента (0 — нет, 1 — сторона B, 2 — сторона A, 3 — обе):</source>
        <translation>Component size check (0 — none, 1 — side B, 2 — side A, 3 — both):</translation>
    </message>
    <message>
        <source>Показывать камеру корректировки при центрировании компонента</source>
        <translation>Show the correction camera while centring a component</translation>
    </message>
</context>
<context>
    <name>encoderAutoCalibration</name>
    <message>
        <source>Репер не найден!</source>
        <translation>Mark not found!</translation>
    </message>
    <message>
        <source>Расстояния между реперами указаны неправильно!</source>
        <translation>The distances between the marks are wrong!</translation>
    </message>
</context>
<context>
    <name>encoderCalibration</name>
    <message>
        <source>По оси %1 превышено максимально допустимое расхождение пути двигателя и энкодера! Возможные причины: ослаб или перескочил ремень; двигатель пропустил шаги; энкодер работает некорректно.</source>
        <translation>On axis %1 the allowed difference between motor and encoder travel is exceeded! Possible causes: the belt is loose or has skipped; the motor has lost steps; the encoder does not work correctly.</translation>
    </message>
    <message>
        <source>осях X и Y</source>
        <translation>axes X and Y</translation>
    </message>
    <message>
        <source>оси X</source>
        <translation>axis X</translation>
    </message>
    <message>
        <source>оси Y</source>
        <translation>axis Y</translation>
    </message>
    <message>
        <source>На %1 отсутствует концевой датчик и отключен/отсутствует энкодер. Перед нажатием кнопки &quot;Вкл&quot;, вручную переместите оси X и Y так, чтобы первый калибровочный знак оказался в центре поля зрения камеры.</source>
        <translation>On %1 there is no home switch and the encoder is disabled or absent. Before pressing &quot;On&quot;, move the X and Y axes by hand so that the first calibration mark is in the centre of the camera&apos;s view.</translation>
    </message>
    <message>
        <source>Выберите, что калибровать: ремень и/или энкодерную ленту.</source>
        <translation>Choose what to calibrate: the belt and/or the encoder strip.</translation>
    </message>
    <message>
        <source>Размер калибровочного объекта указан неправильно!</source>
        <translation>The size of the calibration object is wrong!</translation>
    </message>
    <message>
        <source>Показания энкодера или двигателя неизвестны!</source>
        <translation>The encoder or motor readings are unknown!</translation>
    </message>
    <message>
        <source>Масштабный коэффициент очень сильно отличается от предыдущего значения! Калибровка не будет сохранена!</source>
        <translation>The scale differs far too much from the previous value! The calibration will not be saved!</translation>
    </message>
    <message>
        <source>Калибровка проведена!</source>
        <translation>Calibration done!</translation>
    </message>
    <message>
        <source>Расстояние по энкодеру: %1 мм, новый масштабный коэффициент: %2 меток/мм</source>
        <translation>Encoder distance: %1 mm, new scale: %2 counts/mm</translation>
    </message>
    <message>
        <source>Расстояние по двигателю: %1 мм, новый масштабный коэффициент: %2 шагов/мм</source>
        <translation>Motor distance: %1 mm, new scale: %2 steps/mm</translation>
    </message>
    <message>
        <source>Масштабный коэффициент сильно отличается от предыдущего значения. Перед сохранением, проверьте пожалуйста правильность проведенной калибровки!</source>
        <translation>The scale differs much from the previous value. Please check that the calibration was done correctly before saving!</translation>
    </message>
    <message>
        <source>Для сохранения нажмите &quot;Сохранить&quot;.</source>
        <translation>Press &quot;Save&quot; to save it.</translation>
    </message>
    <message>
        <source>Недопустимый масштабный коэффициент (%1, %2): ini-файл не изменен.</source>
        <translation>Invalid scale (%1, %2): the ini file is not changed.</translation>
    </message>
    <message>
        <source>Нет новых масштабных коэффициентов для сохранения.</source>
        <translation>There are no new scales to save.</translation>
    </message>
    <message>
        <source>Расстояния между реперами указаны неправильно!</source>
        <translation>The distances between the marks are wrong!</translation>
    </message>
    <message>
        <source> после: </source>
        <translation> after: </translation>
    </message>
    <message>
        <source>Энкодер X, меток/мм: до: </source>
        <translation>Encoder X, counts/mm: before: </translation>
    </message>
    <message>
        <source>Энкодер Y, меток/мм: до: </source>
        <translation>Encoder Y, counts/mm: before: </translation>
    </message>
    <message>
        <source>Двигатель X, шагов/мм: до: </source>
        <translation>Motor X, steps/mm: before: </translation>
    </message>
    <message>
        <source>Двигатель Y, шагов/мм: до: </source>
        <translation>Motor Y, steps/mm: before: </translation>
    </message>
    <message>
        <source>Угол: </source>
        <translation>Angle: </translation>
    </message>
</context>
<context>
    <name>feederState</name>
    <message>
        <source>поле «%1» не хранится в файле питателей, значение не записано</source>
        <translation>the field «%1» is not kept in the feeder file; the value was not written</translation>
    </message>
    <message>
        <source>значение %1 поля «%2» не является конечным числом, значение не записано</source>
        <translation>the value %1 of the field «%2» is not a finite number; the value was not written</translation>
    </message>
    <message>
        <source>значение %1 поля «%2» не является целым числом, значение не записано</source>
        <translation>the value %1 of the field «%2» is not a whole number; the value was not written</translation>
    </message>
    <message>
        <source>значение %1 поля «%2» не является логическим (да/нет), значение не записано</source>
        <translation>the value %1 of the field «%2» is not a yes/no value; the value was not written</translation>
    </message>
    <message>
        <source>значение %1 поля «%2» не является текстом, значение не записано</source>
        <translation>the value %1 of the field «%2» is not a text; the value was not written</translation>
    </message>
</context>
<context>
    <name>instrumentSteps</name>
    <message>
        <source>Насадка №%1 не настроена: проверка не выполнена</source>
        <translation>Nozzle #%1 is not set up: the check was not made</translation>
    </message>
    <message>
        <source>Нет ответа от измерителя.</source>
        <translation>No answer from the meter.</translation>
    </message>
    <message>
        <source>Не удалось запустить измеритель RLC: </source>
        <translation>Could not start the RLC meter: </translation>
    </message>
    <message>
        <source>Не удалось настроить измеритель RLC: </source>
        <translation>Could not set up the RLC meter: </translation>
    </message>
    <message>
        <source>Измеритель RLC сообщает об ошибке измерения: </source>
        <translation>The RLC meter reports a measurement error: </translation>
    </message>
    <message>
        <source>получено значение, не являющееся числом</source>
        <translation>the value received is not a number</translation>
    </message>
    <message>
        <source>Номинал компонента не соответствует заявленному. </source>
        <translation>The component value does not match the stated one. </translation>
    </message>
    <message>
        <source>. Сброс в корзину.</source>
        <translation>. Dropped into the basket.</translation>
    </message>
    <message>
        <source>. Ожидание оператора.</source>
        <translation>. Waiting for the operator.</translation>
    </message>
    <message>
        <source>Насадка №%1 не настроена: программирование не выполнено</source>
        <translation>Nozzle #%1 is not set up: the part was not programmed</translation>
    </message>
</context>
<context>
    <name>looseParts</name>
    <message>
        <source>Не задан G-код удаления перевёрнутого компонента: взятие не выполнено</source>
        <translation>No G-code is set for taking away an upside-down component: the component was not picked</translation>
    </message>
    <message>
        <source>Не задан G-код переворота компонента: взятие не выполнено</source>
        <translation>No G-code is set for turning the component over: the component was not picked</translation>
    </message>
    <message>
        <source>Неверные настройки питателя</source>
        <translation>Wrong feeder settings</translation>
    </message>
    <message>
        <source>Компоненты в россыпи не найдены! Переключаюсь на питатель: </source>
        <translation>No loose components found! Switching to feeder: </translation>
    </message>
    <message>
        <source>Компоненты в россыпи не найдены! Пропускаю питатель: </source>
        <translation>No loose components found! Skipping feeder: </translation>
    </message>
    <message>
        <source>Компоненты в россыпи не найдены! Остановка! Питатель: </source>
        <translation>No loose components found! Stopped! Feeder: </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Kestravo — установщик компонентов</source>
        <translation>Kestravo — component placer</translation>
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
<context>
    <name>marks</name>
    <message>
        <source>Неверные координаты перемещения камеры: перемещение не выполнено</source>
        <translation>Invalid camera move coordinates: the move was not made</translation>
    </message>
    <message>
        <source>Поиск реперных знаков невозможен: станок не прошел калибровку</source>
        <translation>The reference marks cannot be searched: the machine has not been calibrated</translation>
    </message>
    <message>
        <source>%1 из %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Не удалось навести камеру на реперный знак за %1 перемещений</source>
        <translation>The camera could not be centred on the reference mark in %1 moves</translation>
    </message>
    <message>
        <source>Положение реперного знака указано перекрестием: X: %1 Y: %2</source>
        <translation>Reference mark position pointed with the cross-hair: X: %1 Y: %2</translation>
    </message>
    <message>
        <source>Обнаружен сдвиг</source>
        <translation>Shift detected</translation>
    </message>
    <message>
        <source>Обнаружен сдвиг первого реперного знака по X: </source>
        <translation>The first reference mark is shifted in X by </translation>
    </message>
    <message>
        <source> по Y: </source>
        <translation> and in Y by </translation>
    </message>
    <message>
        <source>.
Подвинуть плату в проекте на соответствующее расстояние?
Если плата установлена правильно, рекомендуется согласиться.</source>
        <translation>.
Move the board in the project by the same distance?
If the board is mounted correctly, it is recommended to agree.</translation>
    </message>
    <message>
        <source>Не найден дозатор точки</source>
        <translation>The dispenser of the dot was not found</translation>
    </message>
    <message>
        <source>Неверные координаты точки: нанесение невозможно</source>
        <translation>Invalid dot coordinates: the dot cannot be dispensed</translation>
    </message>
</context>
<context>
    <name>nozzleBaseCalibration</name>
    <message>
        <source>Ошибка при автокалибровке насадок! Сопротивление движению по X не зафиксировано!</source>
        <translation>Nozzle auto-calibration error! No resistance to motion along X was detected!</translation>
    </message>
    <message>
        <source>Ошибка при автокалибровке насадок! Сопротивление движению по Y не зафиксировано!</source>
        <translation>Nozzle auto-calibration error! No resistance to motion along Y was detected!</translation>
    </message>
    <message>
        <source>Калибровка прошла успешно! Новые координаты взятия насадок:</source>
        <translation>Calibration succeeded! New nozzle take coordinates:</translation>
    </message>
    <message>
        <source>Внимание! Будут созданы новые G-коды взятия и установки насадок,</source>
        <translation>Warning! New nozzle take and return G-codes will be created,</translation>
    </message>
    <message>
        <source> все изменения, внесенные ранее вручную, будут потеряны!</source>
        <translation> all changes made earlier by hand will be lost!</translation>
    </message>
</context>
<context>
    <name>nozzleBaseSteps</name>
    <message>
        <source>Ошибка при автокалибровке насадок! Неверные координаты.</source>
        <translation>Nozzle auto-calibration error! Invalid coordinates.</translation>
    </message>
    <message>
        <source>Ошибка при автокалибровке насадок! Масштаб энкодера неизвестен.</source>
        <translation>Nozzle auto-calibration error! The encoder scale is unknown.</translation>
    </message>
</context>
<context>
    <name>nozzleOnHead</name>
    <message>
        <source>Насадка установлена на голове! Снимите ее, верните в базу, после чего нажмите &quot;ОК&quot;.</source>
        <translation>A nozzle is on the head! Take it off, put it back into the holder, then press &quot;OK&quot;.</translation>
    </message>
    <message>
        <source>Насадка №%1 находится на голове. Если это верно, не снимайте ее!</source>
        <translation>Nozzle no. %1 is on the head. If this is right, do not take it off!</translation>
    </message>
    <message>
        <source>Датчик разрежения не запустился: проверка насадки на голове невозможна</source>
        <translation>The vacuum sensor did not start: the nozzle-on-head check is impossible</translation>
    </message>
    <message>
        <source>Неверные настройки проверки насадки на голове</source>
        <translation>Invalid nozzle-on-head check settings</translation>
    </message>
    <message>
        <source>Низкое разрежение при включенном компрессоре и закрытом пневмоклапане. Проверьте, подключен ли компрессор!</source>
        <translation>Low vacuum with the compressor on and the valve closed. Check that the compressor is connected!</translation>
    </message>
    <message>
        <source>Блок G-кода не выполнен</source>
        <translation>The G-code block failed</translation>
    </message>
    <message>
        <source>Программа не обнаружила насадку на голове. Возможно, она была снята вручную. Если это не так, то снимите ее с головы и установите в базу, после чего нажмите &quot;ОК&quot;.</source>
        <translation>The program found no nozzle on the head. It may have been taken off by hand. If not, take it off the head and put it into the holder, then press &quot;OK&quot;.</translation>
    </message>
    <message>
        <source>Датчик разрежения не дал своевременный ответ!</source>
        <translation>The vacuum sensor did not answer in time!</translation>
    </message>
</context>
<context>
    <name>panels</name>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Пропустить</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Настройки питателя</source>
        <translation>Feeder settings</translation>
    </message>
    <message>
        <source>Отъехать</source>
        <translation>Move away</translation>
    </message>
    <message>
        <source>Настройка датчика</source>
        <translation>Sensor settings</translation>
    </message>
    <message>
        <source>Повторить распознавание</source>
        <translation>Recognise again</translation>
    </message>
    <message>
        <source>Произведите смену ленты (поддона, пенала, пополните россыпь) и нажмите кнопку &quot;Продолжить&quot;, либо нажмите кнопку &quot;Пропустить&quot; чтобы пропустить этот питатель и перейти к следующему. Также, можно изменить настройки питателя, нажав соответствующую кнопку.</source>
        <translation>Change the tape (tray, tube, or refill the loose parts) and press &quot;Continue&quot;, or press &quot;Skip&quot; to skip this feeder and go on to the next one. You can also change the feeder settings with the button of that name.</translation>
    </message>
    <message>
        <source>Не удалось найти реперный знак! Если реперный знак оказался за границей области поиска, подведите к нему камеру с помощью &quot;Ручного управления&quot; и нажмите кнопку &quot;Повторить поиск&quot;. Если реперный знак не виден по причине неверных настроек распознавания, измените настройки поиска реперных знаков и нажмите &quot;Повторить поиск&quot;. Если программа не может распознать реперный знак из-за того, что он поврежден, нужно с помощью &quot;Ручного управления&quot; навести перекрестие камеры на реперный знак и нажать кнопку &quot;Указать перекрестием&quot;.</source>
        <translation>The reference mark was not found! If the mark lies outside the search area, bring the camera to it with &quot;Manual control&quot; and press &quot;Search again&quot;. If the mark is not seen because of wrong recognition settings, change the reference mark search settings and press &quot;Search again&quot;. If the program cannot recognise the mark because it is damaged, put the camera cross-hair on the mark with &quot;Manual control&quot; and press &quot;Set by cross-hair&quot;.</translation>
    </message>
    <message>
        <source>Не удалось распознать компонент! Если компонент взят, но не распознается камерой, нажмите кнопку &quot;Настройки питателя&quot; и произведите соотвествующие настройки. Затем нажмите &quot;Продолжить&quot;. Если компонент не взят, нажмите кнопку &quot;Продолжить&quot;, чтобы взять следующий компонент, либо нажмите кнопку &quot;Пропустить&quot; чтобы пропустить этот питатель и перейти к следующему. При нажатии кнопки &quot;Отъехать&quot; будет исполнена команда &quot;Кончились компоненты&quot;. Эта кнопка бывает нужна, когда голова мешает провести манипуляции с питателем.</source>
        <translation>The component was not recognised! If the component was picked but the camera does not recognise it, press &quot;Feeder settings&quot; and adjust the settings. Then press &quot;Continue&quot;. If the component was not picked, press &quot;Continue&quot; to pick the next component, or press &quot;Skip&quot; to skip this feeder and go on to the next one. &quot;Move away&quot; runs the &quot;Out of components&quot; command. This button helps when the head is in the way of work on the feeder.</translation>
    </message>
    <message>
        <source>Не удалось распознать компонент после переворота! Если компонент был некорректно перевернут или камера была подведена в некорректную точку после распознавания, и требуется изменить G-код переворота, нажмите кнопку &quot;Пропустить&quot; или &quot;Остановить&quot;. Для повторной попытки распознавания, нажмите кнопку &quot;Повторить распознавание&quot;. Если вы очистили площадку от нераспознанного после переворота компонента и хотите продолжить работу с питателем, нажмите кнопку &quot;Продолжить&quot;.</source>
        <translation>The component was not recognised after flipping! If the component was flipped wrongly or the camera was brought to a wrong point after recognition, and the flip G-code must be changed, press &quot;Skip&quot; or &quot;Stop&quot;. To try recognition again, press &quot;Recognise again&quot;. If you have cleared the unrecognised component from the pad and want to go on with the feeder, press &quot;Continue&quot;.</translation>
    </message>
    <message>
        <source>Несколько неудачных попыток переворота компонента подряд! Если компонент был некорректно перевернут или камера была подведена в некорректную точку после распознавания, и требуется изменить G-код переворота, нажмите кнопку &quot;Пропустить&quot; или &quot;Остановить&quot;. Для повторной попытки распознавания, нажмите кнопку &quot;Повторить распознавание&quot;. Если вы очистили площадку для переворота от компонента и хотите продолжить работу с питателем, нажмите кнопку &quot;Продолжить&quot;.</source>
        <translation>Several failed attempts to flip the component in a row! If the component was flipped wrongly or the camera was brought to a wrong point after recognition, and the flip G-code must be changed, press &quot;Skip&quot; or &quot;Stop&quot;. To try recognition again, press &quot;Recognise again&quot;. If you have cleared the component from the flip pad and want to go on with the feeder, press &quot;Continue&quot;.</translation>
    </message>
    <message>
        <source>Среднее смещение компонента при взятии по X: </source>
        <translation>Mean pick offset of the component in X: </translation>
    </message>
    <message>
        <source>мм  по Y: </source>
        <translation>mm  in Y: </translation>
    </message>
    <message>
        <source>.
Возможно центр взятия компонента задан неправильно.
Исправить центр взятия компонента? </source>
        <translation>.
The pick centre of the component may be set wrongly.
Correct the pick centre of the component? </translation>
    </message>
    <message>
        <source>Максимально допустимое отклонение расстояния между выводами равно </source>
        <translation>The largest allowed deviation of the pin distance is </translation>
    </message>
    <message>
        <source>%, измеренное отклонение равно </source>
        <translation>%, the measured deviation is </translation>
    </message>
    <message>
        <source>Ошибка алгоритма распознавания выводов! </source>
        <translation>Pin recognition error! </translation>
    </message>
    <message>
        <source> Чтобы отбраковать взятый компонент и продолжить работу, нажмите кнопку &quot;Сброс в корзину&quot;. При этом взятый компонент будет сброшен в корзину. Чтобы изменить настройки алгоритма центририрования или алгоритма распознавания выводов, нажмите кнопку &quot;Настройки питателя&quot; и произведите соотвествующие настройки. Затем нажмите &quot;Продолжить&quot; и программа снова попробует отцентрировать взятый компонент.</source>
        <translation> To reject the picked component and go on, press &quot;Drop into the basket&quot;. The picked component is then dropped into the basket. To change the centring or pin recognition settings, press &quot;Feeder settings&quot; and adjust them. Then press &quot;Continue&quot; and the program tries to centre the picked component again.</translation>
    </message>
    <message>
        <source>Ошибка связи с датчиком разрежения! </source>
        <translation>Vacuum sensor communication error! </translation>
    </message>
    <message>
        <source> Если в питателе закончились компоненты, пополните питатель и нажмите кнопку &quot;Продолжить&quot;, либо нажмите кнопку &quot;Пропустить&quot; чтобы пропустить этот питатель и перейти к следующему. При нажатии кнопки &quot;Отъехать&quot; будет исполнена команда &quot;Кончились компоненты&quot;. Если требуется откорректировать настройки датчика разрежения, нажмите кнопку &quot;Настройка датчика&quot;.</source>
        <translation> If the feeder has run out of components, refill it and press &quot;Continue&quot;, or press &quot;Skip&quot; to skip this feeder and go on to the next one. &quot;Move away&quot; runs the &quot;Out of components&quot; command. To adjust the vacuum sensor settings, press &quot;Sensor settings&quot;.</translation>
    </message>
    <message>
        <source>Датчик разрежения сообщает об отсутствии компонента! Измеренное разрежение до взятия: </source>
        <translation>The vacuum sensor reports no component! Vacuum measured before the pick: </translation>
    </message>
    <message>
        <source> кПа, после взятия: </source>
        <translation> kPa, after the pick: </translation>
    </message>
    <message>
        <source> кПа. Разница:</source>
        <translation> kPa. Difference:</translation>
    </message>
    <message>
        <source> кПа. Максимально допустимая разница: </source>
        <translation> kPa. Largest allowed difference: </translation>
    </message>
    <message>
        <source>кПа.</source>
        <translation>kPa.</translation>
    </message>
    <message>
        <source>Датчик разрежения сообщает об отсутствии компонента! Измеренное разрежение: </source>
        <translation>The vacuum sensor reports no component! Measured vacuum: </translation>
    </message>
    <message>
        <source> кПа, минимально допустимое разрежение: </source>
        <translation> kPa, smallest allowed vacuum: </translation>
    </message>
    <message>
        <source> кПа.</source>
        <translation> kPa.</translation>
    </message>
    <message>
        <source> Проверьте забитость насадки, аккуратно ее сняв. После проверки, и возможной прочистки, УСТАНОВИТЕ НАСАДКУ ОБРАТНО НА ГОЛОВУ и нажмите кнопку &quot;Продолжить&quot;, чтобы измерить разрежение повторно. Если требуется откорректировать настройки датчика разрежения и проверки забитости насадки, нажмите кнопку &quot;Настройка датчика&quot;.</source>
        <translation> Check whether the nozzle is clogged by taking it off carefully. After the check, and cleaning if needed, PUT THE NOZZLE BACK ON THE HEAD and press &quot;Continue&quot; to measure the vacuum again. To adjust the vacuum sensor and nozzle clogging check settings, press &quot;Sensor settings&quot;.</translation>
    </message>
    <message>
        <source>Датчик разрежения сообщает о засоренности насадки! Измеренное разрежение до открытия пневмоклапана: </source>
        <translation>The vacuum sensor reports a clogged nozzle! Vacuum measured before the valve opened: </translation>
    </message>
    <message>
        <source> кПа, после открытия: </source>
        <translation> kPa, after it opened: </translation>
    </message>
    <message>
        <source> кПа. Минимально допустимая разница: </source>
        <translation> kPa. Smallest allowed difference: </translation>
    </message>
    <message>
        <source>Датчик разрежения сообщает о засоренности насадки! Измеренное разрежение: </source>
        <translation>The vacuum sensor reports a clogged nozzle! Measured vacuum: </translation>
    </message>
    <message>
        <source>Номинал компонента не соответствует заявленному. </source>
        <translation>The component value does not match the stated one. </translation>
    </message>
    <message>
        <source> Чтобы взять следующий элемент из питателя, нажмите кнопку &quot;Продолжить&quot;, либо нажмите кнопку &quot;Пропустить&quot; чтобы пропустить этот питатель и перейти к следующему. Если требуется повторить измерение номинала, нажмите кнопку &quot;Повторить измерение&quot;. Если требуется настроить измерение номинала для данного питателя, нажмите кнопку &quot;Настроить измерение номинала&quot;. Если требуется изменить настройки измерителя RLC, нажмите кнопку &quot;Настройка измерителя RLC&quot;.</source>
        <translation> To pick the next part from the feeder, press &quot;Continue&quot;, or press &quot;Skip&quot; to skip this feeder and go on to the next one. To measure the value again, press &quot;Measure again&quot;. To set up the value measurement of this feeder, press &quot;Set up value measurement&quot;. To change the RLC meter settings, press &quot;RLC meter settings&quot;.</translation>
    </message>
    <message>
        <source>Программатор выдал сообщение об ошибке при попытке программирования.</source>
        <translation>The programmer reported an error while programming.</translation>
    </message>
    <message>
        <source> Выберите дальнейшее действие. При нажатии кнопки &quot;Повторить попытку&quot;, будет повторно отправлен сигнал на програмиирование. При нажатии кнопки &quot;Сбросить в корзину&quot;, компонент будет сброшен в корзину, после чего будет взят следующий компонент и произведена попытка програмирования. При нажатии кнопки &quot;Пропуситить&quot;, питатель будет пропущен, и программа перейдет к следующему.</source>
        <translation> Choose what to do next. &quot;Try again&quot; sends the programming signal again. &quot;Drop into the basket&quot; drops the component into the basket, then the next component is picked and programmed. &quot;Skip&quot; skips the feeder and the program goes on to the next one.</translation>
    </message>
    <message>
        <source>Превышен период ожидания ответа от программатора. Выберите дальнейшее действие. При нажатии кнопки &quot;Повторить попытку&quot;, будет повторно отправлен сигнал на програмиирование. При нажатии кнопки &quot;Пропуситить&quot;, питатель будет пропущен, и программа перейдет к следующему.</source>
        <translation>The programmer did not answer in time. Choose what to do next. &quot;Try again&quot; sends the programming signal again. &quot;Skip&quot; skips the feeder and the program goes on to the next one.</translation>
    </message>
    <message>
        <source>Во время паузы над камерой можно откорректировать индивидуальные настройки распознавания компонента.</source>
        <translation>While paused over the camera you can adjust the component&apos;s own recognition settings.</translation>
    </message>
    <message>
        <source>Общие настройки</source>
        <translation>Common settings</translation>
    </message>
    <message>
        <source>        Повторить поиск</source>
        <translation>        Search again</translation>
    </message>
    <message>
        <source>Указать перекрестием</source>
        <translation>Set by cross-hair</translation>
    </message>
    <message>
        <source>Индивидуальные настройки</source>
        <translation>Own settings</translation>
    </message>
    <message>
        <source>Да</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Повторить измерение</source>
        <translation>Measure again</translation>
    </message>
    <message>
        <source>Повторить попытку</source>
        <translation>Try again</translation>
    </message>
    <message>
        <source>Сбросить в корзину</source>
        <translation>Drop into the basket</translation>
    </message>
    <message>
        <source>Сброс в корзину</source>
        <translation>Drop into the basket</translation>
    </message>
    <message>
        <source>Индивидуальные настройки распознавания</source>
        <translation>Own recognition settings</translation>
    </message>
    <message>
        <source>Настроить измерение</source>
        <translation>Set up measurement</translation>
    </message>
    <message>
        <source>Настроить измеритель RLC</source>
        <translation>Set up RLC meter</translation>
    </message>
</context>
<context>
    <name>pickTexts</name>
    <message>
        <source>Неверное число в G-коде взятия компонента: взятие не выполнено</source>
        <translation>Invalid number in the pick G-code: the component was not picked</translation>
    </message>
    <message>
        <source>Неверное число рядов поддона: взятие не выполнено</source>
        <translation>Invalid number of tray rows: the component was not picked</translation>
    </message>
    <message>
        <source>Неверный шаг или концы отрезка ленты: взятие не выполнено</source>
        <translation>Invalid pitch or ends of the tape strip: the component was not picked</translation>
    </message>
    <message>
        <source>Не задан G-код сдвига ленты на %1 шаг(а) в банке ленточных питателей №%2: взятие не выполнено</source>
        <translation>The G-code that shifts the tape by %1 step(s) is not set in tape feeder bank %2: the component was not picked</translation>
    </message>
    <message>
        <source>Банк ленточных питателей №%1 не настроен: взятие не выполнено</source>
        <translation>Tape feeder bank %1 is not set up: the component was not picked</translation>
    </message>
    <message>
        <source>Неверное положение банка ленточных питателей №%1: взятие не выполнено</source>
        <translation>Invalid position of tape feeder bank %1: the component was not picked</translation>
    </message>
    <message>
        <source>Банк вибропитателей не настроен: взятие не выполнено</source>
        <translation>The vibration feeder bank is not set up: the component was not picked</translation>
    </message>
    <message>
        <source>Неверные параметры ШИМ банка вибропитателей: взятие не выполнено</source>
        <translation>Invalid PWM settings of the vibration feeder bank: the component was not picked</translation>
    </message>
    <message>
        <source>Перемещение для центрирования компонента выходит за допустимые границы!</source>
        <translation>The centring move of the component goes beyond the permitted limits!</translation>
    </message>
    <message>
        <source>Неверное число в G-коде перемещения к камере: перемещение не выполнено</source>
        <translation>Invalid number in the G-code of the move to the camera: the move was not made</translation>
    </message>
    <message>
        <source>G-код сброса в корзину не содержит перемещения по X или Y: компонент не сброшен</source>
        <translation>The basket G-code has no X or Y move: the component was not dropped</translation>
    </message>
    <message>
        <source>Неверное число в G-коде сброса в корзину: компонент не сброшен</source>
        <translation>Invalid number in the basket G-code: the component was not dropped</translation>
    </message>
    <message>
        <source>Не задан G-код возврата насадки №%1 в базу</source>
        <translation>The G-code that returns nozzle %1 to its holder is not set</translation>
    </message>
    <message>
        <source>Не задан G-код взятия насадки №%1</source>
        <translation>The G-code that takes nozzle %1 is not set</translation>
    </message>
    <message>
        <source>Ошибка при возврате насадки №%1! </source>
        <translation>Error while returning nozzle %1! </translation>
    </message>
    <message>
        <source>Установите насадку №%1 на голову вручную, если она не установлена!</source>
        <translation>Fit nozzle %1 on the head by hand if it is not fitted!</translation>
    </message>
    <message>
        <source>Ошибка при взятии насадки №%1! </source>
        <translation>Error while taking nozzle %1! </translation>
    </message>
    <message>
        <source>Верните насадку в базу вручную, если она была взята!</source>
        <translation>Return the nozzle to its holder by hand if it was taken!</translation>
    </message>
</context>
<context>
    <name>picking</name>
    <message>
        <source>Датчик разрежения не запущен</source>
        <translation>The vacuum sensor is not running</translation>
    </message>
    <message>
        <source>Нет ответа от датчика.</source>
        <translation>No answer from the sensor.</translation>
    </message>
    <message>
        <source>Получено некорректное значение с датчика! </source>
        <translation>Invalid value received from the sensor! </translation>
    </message>
    <message>
        <source>Блок G-кода не выполнен</source>
        <translation>The G-code block failed</translation>
    </message>
    <message>
        <source>не выполнено</source>
        <translation>not done</translation>
    </message>
    <message>
        <source>Ошибка связи с датчиком разрежения!</source>
        <translation>Vacuum sensor communication error!</translation>
    </message>
    <message>
        <source>Датчик разрежения сообщил о забитости насадки!</source>
        <translation>The vacuum sensor reported a clogged nozzle!</translation>
    </message>
    <message>
        <source>выполнено</source>
        <translation>done</translation>
    </message>
    <message>
        <source>Питатель не найден: взятие не выполнено</source>
        <translation>Feeder not found: the component was not picked</translation>
    </message>
    <message>
        <source>Перемещение к камере не задано</source>
        <translation>No move to the camera is stored</translation>
    </message>
    <message>
        <source>Жду замены/пополнения поддона! Остановка! Питатель: </source>
        <translation>Waiting for the tray to be replaced or refilled! Stopped! Feeder: </translation>
    </message>
    <message>
        <source>Жду замены/пополнения отрезка ленты! Остановка! Питатель: </source>
        <translation>Waiting for the tape strip to be replaced or refilled! Stopped! Feeder: </translation>
    </message>
    <message>
        <source>Жду замены ленты! Остановка! Питатель: </source>
        <translation>Waiting for a new tape! Stopped! Feeder: </translation>
    </message>
    <message>
        <source>Насадка №%1 не настроена: взятие не выполнено</source>
        <translation>Nozzle %1 is not set up: the component was not picked</translation>
    </message>
    <message>
        <source>Неизвестный тип питателя: взятие не выполнено</source>
        <translation>Unknown feeder type: the component was not picked</translation>
    </message>
    <message>
        <source>Проверка номинала недоступна: взятие не выполнено</source>
        <translation>The value check is not available: the pick was not made</translation>
    </message>
</context>
<context>
    <name>program</name>
    <message>
        <source>слева</source>
        <translation>left</translation>
    </message>
    <message>
        <source>снизу</source>
        <translation>bottom</translation>
    </message>
    <message>
        <source>справа</source>
        <translation>right</translation>
    </message>
    <message>
        <source>сверху</source>
        <translation>top</translation>
    </message>
    <message>
        <source>Поиск реперных знаков (</source>
        <translation>Reference mark search (</translation>
    </message>
    <message>
        <source> шт.)</source>
        <translation> pcs.)</translation>
    </message>
    <message>
        <source>Нанесение точек. Диспенсер </source>
        <translation>Dispensing dots. Dispenser </translation>
    </message>
    <message>
        <source>. Диаметр </source>
        <translation>. Diameter </translation>
    </message>
    <message>
        <source>мм. Кол-во: </source>
        <translation>mm. Count: </translation>
    </message>
    <message>
        <source>Взятие насадки </source>
        <translation>Take nozzle </translation>
    </message>
    <message>
        <source>Питатель: </source>
        <translation>Feeder: </translation>
    </message>
    <message>
        <source>Кол-во: </source>
        <translation>Count: </translation>
    </message>
    <message>
        <source>; Плата: </source>
        <translation>; Board: </translation>
    </message>
    <message>
        <source>; Плата: X: </source>
        <translation>; Board: X: </translation>
    </message>
    <message>
        <source>; Обозн.: </source>
        <translation>; Ref.: </translation>
    </message>
    <message>
        <source>; Поворот: </source>
        <translation>; Rotation: </translation>
    </message>
    <message>
        <source>Компоненту не присвоен питатель! Корпус: </source>
        <translation>No feeder assigned to the component! Package: </translation>
    </message>
    <message>
        <source>; номинал: </source>
        <translation>; value: </translation>
    </message>
    <message>
        <source>Ошибка при проверке питателя </source>
        <translation>Error in the check of feeder </translation>
    </message>
    <message>
        <source>Корпус компонента не найден в базе!</source>
        <translation>The component&apos;s package is not in the base!</translation>
    </message>
    <message>
        <source>Питатель не настроен</source>
        <translation>The feeder is not set up</translation>
    </message>
    <message>
        <source>Неверно указаны координаты взятия компонента</source>
        <translation>Wrong pick coordinates of the component</translation>
    </message>
    <message>
        <source>G-код взятия компонента не задан!</source>
        <translation>The pick G-code of the component is not set!</translation>
    </message>
    <message>
        <source>Неверно указан номер насадки</source>
        <translation>Wrong nozzle number</translation>
    </message>
    <message>
        <source>Неверные настройки поддона!</source>
        <translation>Wrong tray settings!</translation>
    </message>
    <message>
        <source>Неверные настройки питателя</source>
        <translation>Wrong feeder settings</translation>
    </message>
    <message>
        <source>Не задано фото шаблона</source>
        <translation>No template photo</translation>
    </message>
    <message>
        <source>Слишком большое фото шаблона</source>
        <translation>The template photo is too large</translation>
    </message>
    <message>
        <source>Неверные настройки ленточного питателя</source>
        <translation>Wrong tape feeder settings</translation>
    </message>
    <message>
        <source>Неверные настройки вибропитателя</source>
        <translation>Wrong vibration feeder settings</translation>
    </message>
    <message>
        <source>Неверные настройки центрирования</source>
        <translation>Wrong centring settings</translation>
    </message>
</context>
<context>
    <name>sequencer</name>
    <message>
        <source>Запущена расстановка пропущенных компонентов!</source>
        <translation>Placement of the missed components started!</translation>
    </message>
    <message>
        <source>Программа расстановки запущена</source>
        <translation>Placement program started</translation>
    </message>
    <message>
        <source>Неизвестная операция в программе: </source>
        <translation>Unknown operation in the program: </translation>
    </message>
    <message>
        <source>не выполнено</source>
        <translation>not done</translation>
    </message>
    <message>
        <source>Операция недоступна в этой версии программы: </source>
        <translation>Operation not available in this version of the program: </translation>
    </message>
    <message>
        <source>Программа расстановки завершена. Установлено компонентов: </source>
        <translation>Placement program finished. Components placed: </translation>
    </message>
    <message>
        <source>Программа расстановки остановлена оператором</source>
        <translation>Placement program stopped by the operator</translation>
    </message>
    <message>
        <source>Программа расстановки прервана</source>
        <translation>Placement program interrupted</translation>
    </message>
    <message>
        <source>Неизвестная панель оператора: </source>
        <translation>Unknown operator panel: </translation>
    </message>
    <message>
        <source>Последний установл. компонент: питатель: </source>
        <translation>Last placed component: feeder: </translation>
    </message>
    <message>
        <source>; коорд.: X:</source>
        <translation>; coord.: X:</translation>
    </message>
    <message>
        <source>; строка: </source>
        <translation>; line: </translation>
    </message>
    <message>
        <source>Пропущенный компонент не найден в программе: </source>
        <translation>Missed component not found in the program: </translation>
    </message>
    <message>
        <source>Внутренняя ошибка программы: </source>
        <translation>Internal program error: </translation>
    </message>
</context>
<context>
    <name>tapeCentring</name>
    <message>
        <source>Питатель №%1 пропущен, так как не является ленточным питателем.</source>
        <translation>Feeder No.%1 skipped: it is not a tape feeder.</translation>
    </message>
    <message>
        <source>Питатель №%1 пропущен. Причина: </source>
        <translation>Feeder No.%1 skipped. Reason: </translation>
    </message>
    <message>
        <source>Питатель №%1 пропущен, так как не удалось подвести камеру к перфорации</source>
        <translation>Feeder No.%1 skipped: the camera could not be moved to the perforation</translation>
    </message>
    <message>
        <source>Питатель №%1 пропущен оператором.</source>
        <translation>Feeder No.%1 skipped by the operator.</translation>
    </message>
    <message>
        <source>Питатель №%1 отцентрирован, корректировка по X: %2, по Y: %3</source>
        <translation>Feeder No.%1 centred, correction X: %2, Y: %3</translation>
    </message>
    <message>
        <source>Питатель №%1 отцентрирован ВРУЧНУЮ, корректировка по X: %2, по Y: %3</source>
        <translation>Feeder No.%1 centred BY HAND, correction X: %2, Y: %3</translation>
    </message>
    <message>
        <source>Не удалось распознать перфорацию ленты. Возможные причины: лента не заряжена, под перфорацией находится мусор, порог поиска контуров настроен неверно, заряжена прозрачная лента.</source>
        <translation>The tape perforation could not be recognised. Possible causes: no tape loaded, debris under the perforation, a wrong contour search threshold, a transparent tape.</translation>
    </message>
</context>
<context>
    <name>waiters</name>
    <message>
        <source>Неверная координата %1: перемещение не выполнено</source>
        <translation>Invalid %1 coordinate: the move was not made</translation>
    </message>
    <message>
        <source>Блок G-кода не выполнен</source>
        <translation>The G-code block failed</translation>
    </message>
    <message>
        <source>выполнено</source>
        <translation>done</translation>
    </message>
    <message>
        <source>не выполнено</source>
        <translation>not done</translation>
    </message>
</context>
</TS>
