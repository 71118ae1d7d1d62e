-- Punches collected from the time clock (采集考勤数据). Both tables receive
-- the same rows: kq_record_ta is what the attendance calculation works on,
-- kq_record_ac keeps the punches as collected. A collection replaces a whole
-- range of days in both.

-- fcard_no is the employee code (dt_employee.fcode); fmach_no the number of
-- the clock; fmach_id is always 0.
create table kq_record_ta (
    fautoid int identity(1, 1) primary key,
    fmach_no varchar(20) null,
    fmach_id int null default 0,
    fcard_no varchar(30) null,
    date_time datetime null
)

create table kq_record_ac (
    fautoid int identity(1, 1) primary key,
    fmach_no varchar(20) null,
    fmach_id int null default 0,
    fcard_no varchar(30) null,
    date_time datetime null
)

-- A collection deletes its range of days before storing it again.
create index ix_kq_record_ta_time on kq_record_ta (date_time)
create index ix_kq_record_ac_time on kq_record_ac (date_time)
