-- Attendance set-up: the types of overtime and absence, the items that turn
-- attendance events into money, the shifts with their clocking windows, and
-- the shift of each employee on each day.

-- ftype: 1 overtime, 2 leave, 3 business trip, 4 holiday. Rows marked fisSys
-- come with the system and are neither changed nor deleted.
create table kq_type (
    fcode varchar(20) not null primary key,
    fname varchar(50) not null unique,
    fremark varchar(200) null,
    ftype int not null default 1,
    fisSys bit not null default 0
)

-- fmode 1 adds to the pay, -1 deducts; ftype 0 late, 1 left early,
-- 2 overtime, 3 leave.
create table KQ_Item (
    fcode varchar(20) not null primary key,
    fname varchar(50) not null,
    fmode int not null default 1,
    funit varchar(20) null,
    funitprice money null default 0,
    ftype int not null default 0
)

-- Shift times are a day digit (0 the day before, 1 the working day, 2 the
-- next day, 3 the day after) followed by HH:MM: 122:00 to 206:00 is a night
-- shift. ftypecode is "0" for a normal shift or an overtime type's code.
create table kq_banci (
    fcode varchar(20) not null primary key,
    fname varchar(50) not null unique,
    fremark varchar(200) null,
    fsb_time varchar(6) null,
    fsb_timeb varchar(6) null,
    fsb_timee varchar(6) null,
    fsb_iscard bit null default 1,
    fsb_no_chi int null default 0,
    fXb_time varchar(6) null,
    fxb_timeb varchar(6) null,
    fxb_timee varchar(6) null,
    fxb_iscard bit null default 1,
    fxb_no_zao int null default 0,
    fWorkTime_Mode int null default 1,
    fWork_Time numeric(9, 2) null default 0,
    ftypecode varchar(20) null default '0'
)

-- One row per employee and day; fbilldate is the day as yyyy-MM-dd text,
-- fbancicode a shift code, "OFF" for a day off, or empty.
create table KQ_EmpBanCi (
    fautoid int identity(1, 1) primary key,
    fbilldate varchar(10) not null,
    fempcode varchar(30) not null,
    fbancicode varchar(20) null
)

create index ix_kq_empbanci_day on KQ_EmpBanCi (fbilldate, fempcode)
